#include "story/storyview.h"
#include "storyfixture.h"

#include <limits>

class TestPresentation : public QObject
{
    Q_OBJECT

private slots:
    void speakerTag_data();
    void speakerTag();
    void interval_data();
    void interval();
    void typesOneUnitPerTick_data();
    void typesOneUnitPerTick();
    void emptyOrTagOnlyLineKeepsOldText_data();
    void emptyOrTagOnlyLineKeepsOldText();
    void newLineAbandonsUnfinishedOne();
    void timerDrivesTyping();
    void showViewLineShowsWholeLine();
    void scriptFile_data();
    void scriptFile();
    void lineBeyondScript();
};

void TestPresentation::speakerTag_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("tagged");
    QTest::addColumn<QString>("text");

    QTest::newRow("speaker 1, five letters") << "<1>Hello" << 1 << true << "Hello";
    QTest::newRow("tag in the middle") << "早上<2>好" << 2 << true << "早上好";
    QTest::newRow("id 12") << "<12>hi" << 12 << true << "hi";
    QTest::newRow("two tags") << "<1>a<3>b" << 1 << true << "a<3>b";
    QTest::newRow("no tag") << "风很大。" << -1 << false << "风很大。";
    QTest::newRow("too big for an int") << "<99999999999>x" << -1 << true << "x";
    QTest::newRow("not digits") << "<a>x" << -1 << false << "<a>x";
    QTest::newRow("tag only") << "<3>" << 3 << true << "";
}

void TestPresentation::speakerTag()
{
    QFETCH(QString, line);
    QFETCH(int, id);
    QFETCH(bool, tagged);
    QFETCH(QString, text);

    const story::SpeakerSplit split = story::splitSpeaker(line);
    QCOMPARE(split.id, id);
    QCOMPARE(split.tagged, tagged);
    QCOMPARE(split.text, text);
}

void TestPresentation::interval_data()
{
    QTest::addColumn<float>("vzi");
    QTest::addColumn<int>("ms");

    QTest::newRow("fastest") << 1.0f << 49;
    QTest::newRow("default") << 0.5f << 99;
    QTest::newRow("quarter") << 0.25f << 199;
    // 500 000 ms a character would never finish a question line.
    QTest::newRow("slowest is capped") << 0.0f << 1000;
    QTest::newRow("just under the cap") << 0.05f << 998;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 1000;
}

void TestPresentation::interval()
{
    QFETCH(float, vzi);
    QFETCH(int, ms);
    QCOMPARE(story::typingInterval(vzi), ms);

    StoryFixture f({"<1>Hello"});
    f.controller->setVzi(vzi);
    story::typeLine(f.game, 1);
    QCOMPARE(story::typeTimer()->interval(), ms);
    QVERIFY(story::typeTimer()->isActive());
}

void TestPresentation::typesOneUnitPerTick_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("full");

    QTest::newRow("Sorin says Hello") << QByteArray("<1>Hello") << "Sorin" << "Hello";
    QTest::newRow("narration") << QByteArray("夜色很深。") << "" << "夜色很深。";
    QTest::newRow("one unit") << QByteArray("<6>!") << "飞船AI" << "!";
    QTest::newRow("surrogate pair counts twice") << QByteArray("\xF0\x9F\x8C\x9F!") << "" << QString::fromUtf8("\xF0\x9F\x8C\x9F!");
}

void TestPresentation::typesOneUnitPerTick()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QFETCH(QString, full);

    StoryFixture f({line});
    f.engine->rootContext()->setContextProperty("nameText", "previous");
    story::typeLine(f.game, 1);
    QCOMPARE(f.name(), name);
    QCOMPARE(f.text(), full.left(1));
    const int k = full.size();
    for (int tick = 1; tick < k; ++tick) {
        story::typeTick(f.game);
        QCOMPARE(f.text(), full.left(tick + 1));
        QVERIFY(!story::typing().typingDone);
        QVERIFY(!story::storyView().lineComplete()); // no end mark while typing
    }
    story::typeTick(f.game); // tick k finds it complete
    QVERIFY(story::typing().typingDone);
    QVERIFY(story::storyView().lineComplete());
    QVERIFY(!story::typeTimer()->isActive());
    QCOMPARE(f.text(), full);
}

void TestPresentation::emptyOrTagOnlyLineKeepsOldText_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");

    QTest::newRow("empty") << QByteArray("") << "";
    QTest::newRow("tag only") << QByteArray("<2>") << "Taviel";
}

void TestPresentation::emptyOrTagOnlyLineKeepsOldText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);

    StoryFixture f({"<3>before", line});
    story::typeLine(f.game, 1);
    f.finishTyping();
    story::typeLine(f.game, 2);
    QCOMPARE(f.text(), QStringLiteral("before"));
    QCOMPARE(f.name(), name);
    QVERIFY(!story::typing().typingDone);
    story::typeTick(f.game);
    QVERIFY(story::typing().typingDone);
    QCOMPARE(f.text(), QStringLiteral("before"));
}

void TestPresentation::newLineAbandonsUnfinishedOne()
{
    StoryFixture f({"abcdef", "<2>xy"});
    story::typeLine(f.game, 1);
    story::typeTick(f.game);
    QCOMPARE(f.text(), QStringLiteral("ab"));
    story::typeLine(f.game, 2);
    QCOMPARE(f.text(), QStringLiteral("x"));
    story::typeTick(f.game);
    story::typeTick(f.game);
    QVERIFY(story::typing().typingDone);
    QCOMPARE(f.text(), QStringLiteral("xy"));
}

void TestPresentation::timerDrivesTyping()
{
    StoryFixture f({"<1>Hello"});
    f.controller->setVzi(1.0f);
    story::typeLine(f.game, 1);
    QTRY_VERIFY_WITH_TIMEOUT(story::typing().typingDone, 2000);
    QCOMPARE(f.text(), QStringLiteral("Hello"));
}

void TestPresentation::showViewLineShowsWholeLine()
{
    StoryFixture f({"<2>one", "two", ""});
    story::state().viewLine = 1;
    story::typing().typingDone = true;
    story::showViewLine(f.game);
    QCOMPARE(f.text(), QStringLiteral("one"));
    QCOMPARE(f.name(), QStringLiteral("Taviel"));
    QVERIFY(!story::typing().typingDone);
    story::state().viewLine = 2;
    story::showViewLine(f.game);
    QCOMPARE(f.name(), QString());
    QCOMPARE(f.text(), QStringLiteral("two"));
    story::state().viewLine = 3; // empty: the text box keeps "two"
    story::showViewLine(f.game);
    QCOMPARE(f.text(), QStringLiteral("two"));
}

void TestPresentation::scriptFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("no final LF") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines count") << QByteArray("a\n\n\nb\n") << QStringList{"a", "", "", "b"};
    QTest::newRow("invalid UTF-8") << QByteArray("ok\n\xff\xfe<1>x\n")
                                   << QStringList{"ok", QString(QChar(0xFFFD)) + QChar(0xFFFD) + "<1>x"};
    QTest::newRow("empty file") << QByteArray("") << QStringList{};
}

void TestPresentation::scriptFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);

    ScratchDir dir;
    dir.write("a.txt", file);
    story::loadScript("a.txt");
    QCOMPARE(story::scriptLines().size(), lines.size());
    for (int n = 1; n <= lines.size(); ++n)
        QCOMPARE(story::lineText(n), lines.at(n - 1));
    if (lines.isEmpty())
        QCOMPARE(story::lineText(1), QStringLiteral("File not loaded"));
}

void TestPresentation::lineBeyondScript()
{
    StoryFixture f({"<1>only"});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(QStringLiteral("剧本没有第 976 行（剧本共 1 行）"))));
    story::typeLine(f.game, 976);
    QCOMPARE(f.name(), QString());
    story::typeLine(f.game, 976); // warned once per line number
    QCOMPARE(story::lineText(976), QString());
}

QTEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
