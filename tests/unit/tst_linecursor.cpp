#include "story/linecursor.h"
#include "story/linetables.h"
#include "story/storyview.h"

#include "stage/interludestate.h"
#include "storyfixture.h"

#include "music/music.h"

#include <QFileInfo>
#include <QSignalSpy>

using story::state;

class TestLineCursor : public QObject
{
    Q_OBJECT

private slots:
    void forwardStepChecksInOrder_data();
    void forwardStepChecksInOrder();
    void endingReturnsToTitleAndResets();
    void newStoryStartsFree_data();
    void newStoryStartsFree();
    void clickWhileTypingStartsNextLine();
    void clickShowsTypingQuestionWhole_data();
    void clickShowsTypingQuestionWhole();
    void browsing_data();
    void browsing();
    void wheelAtNewestLineIsAClick();
    void wheelOnlyOnTheGamePage();
    void browsingStopsTyping();
    void browsingAwayFromATypingQuestionOffersIt();
    void lockAt692GoneAfterNewStory();
    void resetLeavesViewClearsFlags();
    void emptyScriptReadsFileNotLoaded();
};

void TestLineCursor::forwardStepChecksInOrder_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("mistakePending");
    QTest::addColumn<bool>("interludeActive");
    QTest::addColumn<int>("cursorAfter");
    QTest::addColumn<QString>("shown"); // "" when nothing is typed
    QTest::addColumn<bool>("pendingAfter");

    QTest::newRow("plain step") << 10 << false << false << 11 << "line 11" << false;
    QTest::newRow("first line") << 0 << false << false << 1 << "line 1" << false;
    QTest::newRow("waiting line holds") << 261 << false << false << 261 << "" << false;
    QTest::newRow("typed-answer line holds") << 551 << false << false << 551 << "" << false;
    QTest::newRow("waiting beats a pending mistake") << 533 << true << false << 533 << "" << true;
    QTest::newRow("pending mistake shows 851") << 532 << true << false << 532 << "line 851" << false;
    QTest::newRow("mistake beats an ending") << 849 << true << false << 849 << "line 851" << false;
    QTest::newRow("mistake beats the interlude lock") << 692 << true << true << 692 << "line 851" << false;
    QTest::newRow("interlude lock holds") << 692 << false << true << 692 << "" << false;
    QTest::newRow("lock lifted") << 692 << false << false << 693 << "line 693" << false;
}

void TestLineCursor::forwardStepChecksInOrder()
{
    QFETCH(int, line);
    QFETCH(bool, mistakePending);
    QFETCH(bool, interludeActive);
    QFETCH(int, cursorAfter);
    QFETCH(QString, shown);
    QFETCH(bool, pendingAfter);

    StoryFixture f;
    f.at(line);
    state().mistakePending = mistakePending;
    state().interludeActive = interludeActive;
    f.game.publish(prop::currentText, QStringLiteral("untouched"));
    f.controller->next1();
    QCOMPARE(state().currentLine, cursorAfter);
    QCOMPARE(state().viewLine, cursorAfter);
    QCOMPARE(state().mistakePending, pendingAfter);
    QCOMPARE(f.text(), shown.isEmpty() ? QStringLiteral("untouched") : shown.left(1));
    if (!shown.isEmpty()) {
        f.finishTyping();
        QCOMPARE(f.text(), shown);
    }
}

void TestLineCursor::endingReturnsToTitleAndResets()
{
    StoryFixture f;
    f.controller->navigategame("index");
    QSignalSpy toindex(f.controller.get(), &MainWindow::toindex);
    f.at(849);
    state().mistakeCount = 2;
    f.controller->next1();
    QCOMPARE(f.controller->getCurrentPage(), QStringLiteral("index"));
    QCOMPARE(toindex.count(), 1);
    QCOMPARE(state().currentLine, 0);
    QCOMPARE(state().mistakeCount, 0);

    f.controller->navigategame("index");
    f.controller->next1();
    QCOMPARE(state().currentLine, 1);
    QCOMPARE(f.text(), QStringLiteral("l"));
}

// A wrong answer or the interlude lock left behind by the last story would
// hold the new one: the mistake line instead of line 1, or every click refused.
void TestLineCursor::newStoryStartsFree_data()
{
    QTest::addColumn<bool>("mistakePending");
    QTest::addColumn<bool>("interludeActive");
    QTest::addColumn<bool>("timerStopped");
    QTest::newRow("pending mistake") << true << false << false;
    QTest::newRow("interlude lock") << false << true << false;
    QTest::newRow("captured: lock and stopped step") << false << true << true;
}

void TestLineCursor::newStoryStartsFree()
{
    QFETCH(bool, mistakePending);
    QFETCH(bool, interludeActive);
    QFETCH(bool, timerStopped);
    StoryFixture f;
    QTimer interludeTimer;
    stage::interludeTimer() = &interludeTimer;
    interludeTimer.start(10); // a map was live
    core::process().interlude.clockHeld = timerStopped;
    f.controller->navigategame("index");
    f.at(692);
    state().mistakePending = mistakePending;
    state().interludeActive = interludeActive;
    f.controller->navigateindex();
    QVERIFY(!state().mistakePending);
    QVERIFY(!state().interludeActive);
    // No map at the title: the step sleeps, and no capture holds the next map.
    QVERIFY(!interludeTimer.isActive());
    QVERIFY(!core::process().interlude.clockHeld);
    f.controller->navigategame("index");
    f.controller->next1();
    QCOMPARE(state().currentLine, 1);
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 1"));
    stage::interludeTimer() = nullptr;
}

// At the slowest text speed a question took minutes to type, and a click on
// it was refused: the answers seemed never to come.
void TestLineCursor::clickShowsTypingQuestionWhole_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("twoAnswers"); // else the input box
    QTest::newRow("two answers") << 261 << true;
    QTest::newRow("typed answer") << 551 << false;
}

void TestLineCursor::clickShowsTypingQuestionWhole()
{
    QFETCH(int, line);
    QFETCH(bool, twoAnswers);
    const prop::Name offered = twoAnswers ? prop::daanvisible : prop::shuruvisible;

    StoryFixture f;
    f.controller->setVzi(0.0f);
    f.at(line - 1);
    f.controller->next1();
    QCOMPARE(state().currentLine, line);
    QCOMPARE(f.text(), QStringLiteral("l"));
    QCOMPARE(story::typeTimer()->interval(), 1000);
    QVERIFY(!f.shown(offered));

    f.controller->next1();
    QCOMPARE(state().currentLine, line);
    QCOMPARE(f.text(), QStringLiteral("line %1").arg(line));
    QVERIFY(f.shown(offered));
    QVERIFY(!story::typeTimer()->isActive());
    if (twoAnswers)
        QCOMPARE(f.property(prop::ida1).toString(), QStringLiteral("line 262"));

    // Once the answers are offered, a click waits for them as before.
    f.game.publish(prop::currentText, QStringLiteral("untouched"));
    f.controller->next1();
    QCOMPARE(state().currentLine, line);
    QCOMPARE(f.text(), QStringLiteral("untouched"));
}

void TestLineCursor::clickWhileTypingStartsNextLine()
{
    StoryFixture f;
    f.at(20);
    f.controller->next1();
    story::typeTick(f.game);
    QCOMPARE(f.text(), QStringLiteral("li"));
    f.controller->next1();
    QCOMPARE(state().currentLine, 22);
    QCOMPARE(f.text(), QStringLiteral("l"));
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 22"));
}

void TestLineCursor::browsing_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("viewAfter");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QVariant>("readingBack"); // invalid: not told

    QTest::newRow("back one") << 5 << 5 << 1 << 4 << 5 << "line 4" << QVariant(true);
    QTest::newRow("back at line 1") << 5 << 1 << 1 << 1 << 5 << "" << QVariant();
    QTest::newRow("forward inside history") << 5 << 3 << -1 << 4 << 5 << "line 4" << QVariant(true);
    QTest::newRow("forward onto the current line") << 5 << 4 << -1 << 5 << 5 << "line 5" << QVariant(false);
    QTest::newRow("forward at the newest line") << 5 << 5 << -1 << 6 << 6 << "l" << QVariant(false);
    QTest::newRow("sideways") << 5 << 3 << 0 << 3 << 5 << "" << QVariant();
    QTest::newRow("forward at a waiting line") << 261 << 261 << -1 << 261 << 261 << "" << QVariant();
}

void TestLineCursor::browsing()
{
    QFETCH(int, current);
    QFETCH(int, view);
    QFETCH(int, step);
    QFETCH(int, viewAfter);
    QFETCH(int, currentAfter);
    QFETCH(QString, shown);
    QFETCH(QVariant, readingBack);

    StoryFixture f;
    f.at(current);
    state().viewLine = view;
    f.game.publish(prop::currentText, QStringLiteral("untouched"));
    const bool before = readingBack.isValid() ? !readingBack.toBool() : true;
    story::storyView().setReadingBack(before);
    story::browseHistory(f.game, step);
    QCOMPARE(state().viewLine, viewAfter);
    QCOMPARE(state().currentLine, currentAfter);
    QCOMPARE(f.text(), shown.isEmpty() ? QStringLiteral("untouched") : shown);
    QCOMPARE(story::storyView().readingBack(), readingBack.isValid() ? readingBack.toBool() : before);
}

// The wheel reaches the story through the controller's application-wide filter.
void TestLineCursor::wheelAtNewestLineIsAClick()
{
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(7);
    QObject target;
    QWheelEvent down(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &down);
    QCOMPARE(state().currentLine, 8);
    QWheelEvent up(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &up);
    QCOMPARE(state().viewLine, 7);
    QCOMPARE(state().currentLine, 8);
}

namespace {

void turnWheel(int angle)
{
    QObject target;
    QWheelEvent wheel(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &wheel);
}

QString mediaFile(music::Player &player)
{
    return QFileInfo(player.media().toLocalFile()).fileName();
}

} // namespace

// On the title page a turn used to show line 1 and start its music, so that
// "开始" then began at line 2.
void TestLineCursor::wheelOnlyOnTheGamePage()
{
    StoryFixture f;
    music::Player player;
    f.game.musicPlayer = &player;
    music::startTrack(f.game, QStringLiteral("mp3/Universe.mp3"));
    turnWheel(-120);
    turnWheel(120);
    QCOMPARE(state().currentLine, 0);
    QCOMPARE(state().viewLine, 0);
    QCOMPARE(mediaFile(player), QStringLiteral("Universe.mp3"));
    // The signal itself, whoever sends it, is ignored off the game page too.
    emit f.controller->wheelChanged(-1);
    QCOMPARE(state().currentLine, 0);

    f.controller->navigategame("index");
    turnWheel(-120);
    QCOMPARE(state().currentLine, 1);
    QCOMPARE(mediaFile(player), QStringLiteral("Memories.mp3"));
    f.controller->next1();
    turnWheel(120);
    QCOMPARE(state().viewLine, 1);
    QCOMPARE(f.text(), QStringLiteral("line 1"));
    f.game.musicPlayer = nullptr;
}

// A turn up while a line types used to show the earlier line for one tick
// before the typing wrote over it.
void TestLineCursor::browsingStopsTyping()
{
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(20);
    f.controller->next1();
    QVERIFY(story::typeTimer()->isActive());
    turnWheel(120);
    QCOMPARE(f.text(), QStringLiteral("line 20"));
    QVERIFY(!story::typeTimer()->isActive());
    QTest::qWait(3 * story::typingInterval(f.game.textSpeed()));
    QCOMPARE(f.text(), QStringLiteral("line 20"));
    // Back down: the interrupted line whole, then the next click goes on.
    turnWheel(-120);
    QCOMPARE(f.text(), QStringLiteral("line 21"));
    turnWheel(-120);
    QCOMPARE(state().currentLine, 22);
}

// The end of typing offers the answers; a question whose typing the wheel
// stopped must still offer them, or the story would wait for good.
void TestLineCursor::browsingAwayFromATypingQuestionOffersIt()
{
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(260);
    f.controller->next1();
    QVERIFY(!f.shown(prop::daanvisible));
    turnWheel(120);
    QCOMPARE(f.text(), QStringLiteral("line 260"));
    turnWheel(-120);
    QCOMPARE(f.text(), QStringLiteral("line 261"));
    QVERIFY(f.shown(prop::daanvisible));
    f.controller->da1(1);
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 262"));
    QCOMPARE(state().currentLine, 263);
}

// Line 692 locks the story for the interlude; going back to the title and
// starting again used to leave every click refused.
void TestLineCursor::lockAt692GoneAfterNewStory()
{
    StoryFixture f;
    f.controller->navigateindex();
    f.controller->navigategame("index");
    f.at(685);
    for (int i = 0; i < 7; ++i)
        f.controller->next1();
    QCOMPARE(state().currentLine, 692);
    QVERIFY(state().interludeActive);
    f.controller->next1();
    QCOMPARE(state().currentLine, 692);

    f.controller->navigateindex(); // "返回"
    f.controller->navigategame("index"); // "开始"
    f.controller->next1();
    QCOMPARE(state().currentLine, 1);
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 1"));
    f.controller->next1();
    QCOMPARE(state().currentLine, 2);
}

void TestLineCursor::resetLeavesViewClearsFlags()
{
    StoryFixture f;
    f.at(300);
    state().viewLine = 290;
    state().mistakeCount = 3;
    state().mistakePending = true;
    state().interludeActive = true;
    stage::interlude().triesLeft = 1;
    stage::interlude().playerCaught = 1;
    stage::interlude().companionCaught = 1;
    f.game.publish(prop::daanvisible, true);
    f.game.publish(prop::shuruvisible, true);
    f.game.publish(prop::bVisible, 1);
    QSignalSpy start(f.controller.get(), &MainWindow::Start);
    f.controller->navigategame("x");
    f.controller->navigateindex();
    QCOMPARE(start.count(), 1);

    QCOMPARE(state().currentLine, 0);
    QCOMPARE(state().mistakeCount, 0);
    QCOMPARE(state().viewLine, 290);
    QVERIFY(!state().mistakePending);
    QVERIFY(!state().interludeActive);
    QCOMPARE(stage::interlude().triesLeft, 3);
    QCOMPARE(stage::interlude().playerCaught, 0);
    QCOMPARE(stage::interlude().companionCaught, 0);
    QCOMPARE(f.text(), QString());
    QCOMPARE(f.name(), QString());
    QVERIFY(!f.shown(prop::daanvisible));
    QVERIFY(!f.shown(prop::shuruvisible));
    QVERIFY(!f.shown(prop::bVisible));
}

void TestLineCursor::emptyScriptReadsFileNotLoaded()
{
    StoryFixture f(QList<QByteArray>{});
    f.controller->next1();
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("File not loaded"));
}

QTEST_MAIN(TestLineCursor)
#include "tst_linecursor.moc"
