#include "story/autoskip.h"

#include "storyfixture.h"

#include <QSignalSpy>

using story::state;

class TestAutoSkip : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void intervals_data();
    void intervals();
    void switchingOnAndOff();
    void firstTickStepsWhileTyping();
    void laterTicksWaitForTyping();
    void autoStopsAtQuestionWithButtons();
    void autoEndingReturnsToTitle();
    void autoReadsOnWithRealTimers();
    void skipStopsAtQuestionWithButtonsOffered();
    void skipStopsAtTypedAnswerWithInputBox();
    void skipStopsAtInterlude_data();
    void skipStopsAtInterlude();
    void skipEndingReturnsToTitle();
    void skipWaitsUnderTheLock();
    void skipShowsMistakeLine();
    void skipRunsOnItsTimer();
    void skipKeepsTheLinesItPassesInTheBacklog();
    void ctrlSkipsWhileHeld_data();
    void ctrlSkipsWhileHeld();
};

// Leaves no timer running into the next test.
void TestAutoSkip::cleanup()
{
    Game none;
    story::setAuto(none, 0);
    story::setSkip(none, 0);
}

void TestAutoSkip::intervals_data()
{
    QTest::addColumn<float>("vhang");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("rearm");

    QTest::newRow("fastest") << 1.0f << 499 << 49;
    QTest::newRow("default") << 0.5f << 999 << 99;
    // As typing at speed 0 is capped, auto at speed 0 still steps on: at
    // most ten seconds a line, a second between looks at a typing line.
    QTest::newRow("slow") << 0.1f << 4999 << 499;
    QTest::newRow("nearly stopped") << 0.01f << 10000 << 1000;
    QTest::newRow("stopped") << 0.0f << 10000 << 1000;
}

void TestAutoSkip::intervals()
{
    QFETCH(float, vhang);
    QFETCH(int, interval);
    QFETCH(int, rearm);

    QCOMPARE(story::autoInterval(vhang), interval);
    QCOMPARE(story::autoRearmDelay(vhang), rearm);
    StoryFixture f;
    f.controller->setVhang(vhang);
    f.controller->Auto1();
    QVERIFY(story::autoTimer());
    QCOMPARE(story::autoTimer()->interval(), interval);
    f.controller->setVhang(0.9f); // fixed at switch-on
    QCOMPARE(story::autoTimer()->interval(), interval);
    f.controller->Auto1();
}

void TestAutoSkip::switchingOnAndOff()
{
    StoryFixture f;
    f.controller->Auto1();
    f.controller->skip1();
    QVERIFY(story::autoTimer() && story::autoTimer()->isActive());
    QVERIFY(story::skipTimer() && story::skipTimer()->interval() == 100);
    f.controller->Auto1();
    f.controller->skip1();
    QVERIFY(!story::autoTimer());
    QVERIFY(!story::skipTimer());

    f.controller->navigategame("index");
    f.controller->Auto1();
    f.controller->skip1();
    f.controller->navigateindex(); // the title page switches both off
    QVERIFY(!story::autoTimer());
    QVERIFY(!story::skipTimer());
}

void TestAutoSkip::firstTickStepsWhileTyping()
{
    StoryFixture f;
    f.at(9);
    f.controller->next1(); // line 10 starts typing
    QVERIFY(!story::typing().typingDone);
    f.controller->Auto1();
    story::autoTick(f.game);
    QCOMPARE(state().currentLine, 11);
    QVERIFY(!story::autoJustStarted());
    f.controller->Auto1();
}

void TestAutoSkip::laterTicksWaitForTyping()
{
    StoryFixture f;
    f.controller->setVhang(1.0f);
    f.at(9);
    f.controller->Auto1();
    story::autoTick(f.game); // steps to 10, which is now typing
    QCOMPARE(state().currentLine, 10);
    QVERIFY(!story::autoTimer()->isActive()); // waiting for the re-arm
    QTRY_VERIFY_WITH_TIMEOUT(story::autoTimer()->isActive(), 500);
    story::autoTick(f.game); // still typing: no step
    QCOMPARE(state().currentLine, 10);
    f.finishTyping();
    story::autoTick(f.game);
    QCOMPARE(state().currentLine, 11);
    f.controller->Auto1();
}

void TestAutoSkip::autoStopsAtQuestionWithButtons()
{
    StoryFixture f;
    f.at(259);
    f.controller->Auto1();
    story::autoTick(f.game);
    f.finishTyping();
    story::autoTick(f.game);
    QCOMPARE(state().currentLine, 261);
    QVERIFY(!f.shown(prop::daanvisible));
    f.finishTyping(); // the question's own end of typing offers the answers
    QVERIFY(f.shown(prop::daanvisible));
    story::autoTick(f.game);
    QVERIFY(!story::autoTimer());
    QCOMPARE(state().currentLine, 261);
    QCOMPARE(f.controller->getAuto(), -1); // the next Auto1 only switches it off
}

void TestAutoSkip::autoEndingReturnsToTitle()
{
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(911);
    f.controller->Auto1();
    story::autoTick(f.game);
    QCOMPARE(f.controller->getCurrentPage(), QStringLiteral("index"));
    QCOMPARE(f.controller->getAuto(), 0);
    QVERIFY(!story::autoTimer());
    QCOMPARE(state().currentLine, 0);
}

void TestAutoSkip::autoReadsOnWithRealTimers()
{
    QList<QByteArray> script = StoryFixture::numberedScript();
    for (int n = 100; n <= 103; ++n)
        script[n - 1] = "ab";
    StoryFixture f(script);
    f.controller->setVzi(1.0f);
    f.controller->setVhang(1.0f);
    f.at(99);
    f.controller->Auto1();
    // 499 ms a step, the short lines type within it.
    QTRY_VERIFY_WITH_TIMEOUT(state().currentLine >= 102, 3000);
    f.controller->Auto1();
}

void TestAutoSkip::skipStopsAtQuestionWithButtonsOffered()
{
    StoryFixture f;
    f.at(600);
    f.controller->skip1();
    for (int i = 0; i < 13; ++i)
        story::skipTick(f.game);
    QCOMPARE(state().currentLine, 613);
    QCOMPARE(f.text(), QStringLiteral("line 613")); // whole, not typed
    QVERIFY(story::skipTimer());
    story::skipTick(f.game);
    QVERIFY(!story::skipTimer());
    QVERIFY(f.shown(prop::daanvisible));
    QCOMPARE(f.property(prop::ida1).toString(), QStringLiteral("line 614"));
    QCOMPARE(f.controller->getSkip(), 0);
    f.controller->da1(2);
    QCOMPARE(state().currentLine, 615);
}

void TestAutoSkip::skipStopsAtTypedAnswerWithInputBox()
{
    StoryFixture f;
    f.at(549);
    f.controller->skip1();
    story::skipTick(f.game);
    story::skipTick(f.game);
    QCOMPARE(state().currentLine, 551);
    story::skipTick(f.game);
    QVERIFY(!story::skipTimer());
    QVERIFY(f.shown(prop::shuruvisible));
}

void TestAutoSkip::skipStopsAtInterlude_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("stopsAt"); // 0: still skipping after five ticks
    QTest::newRow("stops at the first map") << 685 << 687;
    // A map won is gone from the next line on, and skip passes its lines.
    QTest::newRow("after the first map's goal") << 692 << 695;
    QTest::newRow("after the second map's goal") << 756 << 0;
}

void TestAutoSkip::skipStopsAtInterlude()
{
    QFETCH(int, from);
    QFETCH(int, stopsAt);
    StoryFixture f;
    f.at(from);
    f.controller->skip1();
    for (int i = 0; i < 5; ++i)
        story::skipTick(f.game);
    QCOMPARE(state().currentLine, stopsAt ? stopsAt : from + 5);
    QCOMPARE(!story::skipTimer(), stopsAt != 0);
    QCOMPARE(f.shown(prop::sjvisible), stopsAt == 687);
    f.controller->skip1();
}

void TestAutoSkip::skipEndingReturnsToTitle()
{
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(857);
    f.controller->skip1();
    story::skipTick(f.game);
    QCOMPARE(f.controller->getCurrentPage(), QStringLiteral("index"));
    QVERIFY(!story::skipTimer());
    QCOMPARE(f.controller->getSkip(), 0);
}

void TestAutoSkip::skipWaitsUnderTheLock()
{
    StoryFixture f;
    f.at(950);
    state().interludeActive = true;
    f.controller->skip1();
    story::skipTick(f.game);
    story::skipTick(f.game);
    QCOMPARE(state().currentLine, 950);
    QVERIFY(story::skipTimer() && story::skipTimer()->isActive());
    state().interludeActive = false;
    story::skipTick(f.game);
    QCOMPARE(state().currentLine, 951);
    f.controller->skip1();
}

void TestAutoSkip::skipShowsMistakeLine()
{
    StoryFixture f;
    f.at(532);
    state().mistakePending = true;
    f.controller->skip1();
    story::skipTick(f.game);
    QCOMPARE(state().currentLine, 532);
    QVERIFY(!state().mistakePending);
    story::skipTick(f.game);
    QCOMPARE(state().currentLine, 533);
    QCOMPARE(f.text(), QStringLiteral("line 533")); // the typing of 851 does not overwrite it
    f.controller->skip1();
}

void TestAutoSkip::skipKeepsTheLinesItPassesInTheBacklog()
{
    StoryFixture f;
    f.at(600);
    core::process().shownLines = {600};
    f.controller->skip1();
    for (int i = 0; i < 3; ++i)
        story::skipTick(f.game);
    f.controller->skip1();
    QCOMPARE(core::process().shownLines, (QVector<int>{600, 601, 602, 603}));
}

void TestAutoSkip::skipRunsOnItsTimer()
{
    StoryFixture f;
    f.at(605);
    f.controller->skip1();
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(!story::skipTimer(), 3000);
    QCOMPARE(state().currentLine, 613);
    QVERIFY2(clock.elapsed() >= 800, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(f.shown(prop::daanvisible));
}


void TestAutoSkip::ctrlSkipsWhileHeld_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing ran") << "";
    QTest::newRow("快进 running") << "skip";
    QTest::newRow("快进 stopped by a question") << "question";
}

void TestAutoSkip::ctrlSkipsWhileHeld()
{
    QFETCH(QString, before);
    StoryFixture f;
    f.at(611);
    if (!before.isEmpty())
        f.controller->skip1();
    if (before == QLatin1String("question")) {
        for (int i = 0; i < 3; ++i)
            story::skipTick(f.game);
        QVERIFY(!story::skipTimer());
        f.controller->da1(2);
    }
    f.controller->skipHeld1(true);
    QVERIFY(story::skipTimer());
    f.controller->skipHeld1(true); // the key repeating
    story::skipTick(f.game);
    const int reached = state().currentLine;
    f.controller->skipHeld1(false);
    QVERIFY(!story::skipTimer());
    QTest::qWait(250);
    QCOMPARE(state().currentLine, reached);
}

QTEST_MAIN(TestAutoSkip)
#include "tst_autoskip.moc"
