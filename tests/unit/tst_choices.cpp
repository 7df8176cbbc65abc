#include "story/answers.h"
#include "story/choices.h"
#include "story/linecursor.h"
#include "story/linetables.h"
#include "stage/staging.h"

#include "storyfixture.h"

#include <QSignalSpy>
#include <QTextDocument>

using story::state;

class TestChoices : public QObject
{
    Q_OBJECT

private slots:
    void mistakeFiguresStayOnTheirLine_data();
    void mistakeFiguresStayOnTheirLine();
    void branches_data();
    void branches();
    void hesitationAsksAgain();
    void wrongAnswerAsksAgain();
    void buttonTextsLoseEveryTag();
    void typedAnswer_data();
    void typedAnswer();
    void wrongTypedAnswerAsksAgain();
    void emptyTypedAnswerNeverArrives();
    void unknownAnswerChangesNothing();
};

// Types line `line` as the cursor's line and lets it finish, as a click would.
static void reachQuestion(StoryFixture &f, int line)
{
    f.at(line - 1);
    f.controller->next1();
    f.finishTyping();
}

void TestChoices::branches_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("answerLine"); // typed right after the click
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("mistakes");
    QTest::addColumn<int>("nextShown"); // shown by the following click

    QTest::newRow("261 see the truth") << 261 << 1 << 262 << 263 << 0 << 264;
    QTest::newRow("261 look away") << 261 << 2 << 263 << 852 << 0 << 853;
    QTest::newRow("406 to the core") << 406 << 1 << 407 << 408 << 0 << 409;
    QTest::newRow("406 tell the town") << 406 << 2 << 408 << 863 << 0 << 864;
    QTest::newRow("521 right") << 521 << 1 << 522 << 523 << 0 << 524;
    QTest::newRow("521 wrong") << 521 << 2 << 523 << 520 << 1 << 851;
    QTest::newRow("533 wrong") << 533 << 1 << 534 << 532 << 1 << 851;
    QTest::newRow("539 wrong") << 539 << 1 << 540 << 538 << 1 << 851;
    QTest::newRow("563 wrong") << 563 << 2 << 565 << 562 << 1 << 851;
    QTest::newRow("577 right") << 577 << 2 << 579 << 579 << 0 << 580;
    QTest::newRow("585 wrong") << 585 << 2 << 587 << 584 << 1 << 851;
    QTest::newRow("613 right") << 613 << 2 << 615 << 615 << 0 << 616;
    QTest::newRow("667 guardian") << 667 << 1 << 668 << 912 << 0 << 913;
    QTest::newRow("673 turn back") << 673 << 2 << 675 << 897 << 0 << 898;
    QTest::newRow("681 go on") << 681 << 2 << 684 << 684 << 0 << 685;
    QTest::newRow("695 hatch home") << 695 << 2 << 697 << 897 << 0 << 898;
    QTest::newRow("841 open the sky") << 841 << 1 << 842 << 843 << 0 << 844;
    QTest::newRow("841 one by one") << 841 << 2 << 843 << 967 << 0 << 968;
}

void TestChoices::branches()
{
    QFETCH(int, question);
    QFETCH(int, answer);
    QFETCH(int, answerLine);
    QFETCH(int, cursor);
    QFETCH(int, mistakes);
    QFETCH(int, nextShown);

    StoryFixture f;
    reachQuestion(f, question);
    QVERIFY(f.shown(prop::daanvisible));
    f.controller->da1(answer);
    QVERIFY(!f.shown(prop::daanvisible));
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line %1").arg(answerLine));
    QCOMPARE(state().currentLine, cursor);
    QCOMPARE(state().mistakeCount, mistakes);
    QCOMPARE(state().mistakePending, mistakes > 0);

    f.controller->next1();
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line %1").arg(nextShown));
}

void TestChoices::hesitationAsksAgain()
{
    StoryFixture f;
    reachQuestion(f, 681);
    f.engine->rootContext()->setContextProperty("daanvisible", false);
    f.controller->da1(1);
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 682"));
    QCOMPARE(state().currentLine, 681);
    QVERIFY(f.shown(prop::daanvisible)); // offered again once 682 has been typed
    QCOMPARE(f.property(prop::ida1).toString(), QStringLiteral("line 682"));
    QCOMPARE(f.property(prop::ida2).toString(), QStringLiteral("line 684"));
    f.controller->next1(); // still waiting
    QCOMPARE(state().currentLine, 681);
}

void TestChoices::wrongAnswerAsksAgain()
{
    StoryFixture f;
    reachQuestion(f, 533);
    f.controller->da1(1);
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 534"));
    f.controller->next1();
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 851"));
    QVERIFY(!f.shown(prop::daanvisible));
    f.controller->next1();
    QCOMPARE(state().currentLine, 533);
    QVERIFY(!f.shown(prop::daanvisible)); // not before the question has been typed
    f.finishTyping();
    QVERIFY(f.shown(prop::daanvisible));
    QCOMPARE(state().mistakeCount, 1);
}

void TestChoices::buttonTextsLoseEveryTag()
{
    QList<QByteArray> script = StoryFixture::numberedScript();
    script[261] = "<1>我想<12>知道<3>";
    script[262] = "<1><1>不";
    StoryFixture f(script);
    reachQuestion(f, 261);
    QCOMPARE(f.property(prop::ida1).toString(), QStringLiteral("我想知道"));
    QCOMPARE(f.property(prop::ida2).toString(), QStringLiteral("不"));
    QCOMPARE(story::answerButtonText(QStringLiteral("a<b>c<7>")), QStringLiteral("a<b>c"));
}

void TestChoices::typedAnswer_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");

    QTest::newRow("对话") << "对话" << true;
    QTest::newRow("话 among others") << "大概是说话吧" << true;
    QTest::newRow("语") << "语" << true;
    QTest::newRow("语言") << "语言" << true;
    QTest::newRow("言 with Latin") << "yu言" << true;
    QTest::newRow("unrelated") << "星星" << false;
    QTest::newRow("close but wrong") << "说" << false;
    QTest::newRow("Latin") << "language" << false;
    QTest::newRow("markup, wrong") << "<font size=\"7\" color=\"red\">x</font>" << false;
    QTest::newRow("entities and brackets") << "a &amp; b < c > d" << false;
    QTest::newRow("markup, right") << "<b>话</b>" << true;
    QTest::newRow("對話, Traditional") << "對話" << true;
    QTest::newRow("語, Traditional") << "語" << true;
    QTest::newRow("說, Traditional, wrong") << "說" << false;
}

void TestChoices::typedAnswer()
{
    QFETCH(QString, typed);
    QFETCH(bool, right);

    StoryFixture f;
    reachQuestion(f, 551);
    QVERIFY(f.shown(prop::shuruvisible));
    QVERIFY(!f.shown(prop::daanvisible));
    f.controller->shuru1(typed);
    QVERIFY(!f.shown(prop::shuruvisible));
    QCOMPARE(story::isRightTypedAnswer(typed), right);
    if (right) {
        QCOMPARE(state().currentLine, 552);
        QCOMPARE(state().viewLine, 552);
        f.finishTyping();
        QCOMPARE(f.text(), QStringLiteral("line 552"));
        QVERIFY(!state().mistakePending);
    } else {
        QCOMPARE(state().currentLine, 550);
        // At once, not typed, and read by the rich-text box as exactly what was typed.
        QTextDocument shown;
        shown.setHtml(f.text());
        QCOMPARE(shown.toPlainText(), typed);
        QCOMPARE(f.name(), QStringLiteral("Sorin"));
        QVERIFY(state().mistakePending);
        QCOMPARE(state().mistakeCount, 0);
    }
}

void TestChoices::wrongTypedAnswerAsksAgain()
{
    StoryFixture f;
    reachQuestion(f, 551);
    f.controller->shuru1("不知道");
    f.controller->next1();
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line 851"));
    f.controller->next1();
    QCOMPARE(state().currentLine, 551);
    QVERIFY(!f.shown(prop::shuruvisible));
    f.finishTyping();
    QVERIFY(f.shown(prop::shuruvisible));
}

void TestChoices::emptyTypedAnswerNeverArrives()
{
    StoryFixture f;
    reachQuestion(f, 551);
    f.controller->shuru1(QString());
    QVERIFY(f.shown(prop::shuruvisible));
    QCOMPARE(state().currentLine, 551);
}

void TestChoices::unknownAnswerChangesNothing()
{
    StoryFixture f;
    reachQuestion(f, 261);
    f.engine->rootContext()->setContextProperty("currentText", "kept");
    story::answerChoice(f.game, 3);
    QCOMPARE(state().currentLine, 261);
    QCOMPARE(f.text(), QStringLiteral("kept"));
    QVERIFY(!f.shown(prop::daanvisible)); // the buttons still go away
}

namespace {

// What the page shows behind the text: background, its visibility, the figures.
QStringList scene(const StoryFixture &f)
{
    QStringList shown;
    for (const char *name : {"bcPath", "a1Path", "a2_1Path", "a2_2Path", "a3_1Path", "a3_2Path", "a3_3Path",
                             "a1fPath", "a3_1fPath", "a3_2fPath", "a3_3fPath"})
        shown << f.property(prop::Name{name}).toString();
    for (const char *flag : {"bVisible", "a1visible", "a2visible", "a3visible", "a1fvisible", "a3fvisible"})
        shown << QString::number(f.shown(prop::Name{flag}));
    return shown;
}

} // namespace

void TestChoices::mistakeFiguresStayOnTheirLine_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("wrong");
    for (const story::BranchRow &row : story::branchTable()) {
        for (int answer : {1, 2}) {
            if ((answer == 1 ? row.answer1 : row.answer2).mistake)
                QTest::addRow("%d answer %d", row.line, answer) << row.line << answer;
        }
    }
}

// After a wrong answer's mistake line the story steps on from the question's
// own scene, as if the answer had never been given.
void TestChoices::mistakeFiguresStayOnTheirLine()
{
    QFETCH(int, question);
    QFETCH(int, wrong);
    story::Branch branch;
    QVERIFY(story::branchFor(question, wrong, &branch));

    QStringList expected;
    {
        StoryFixture f;
        f.at(question);
        stage::stageLine(f.game, 1);
        f.at(branch.cursor);
        story::advanceLine(f.game);
        expected = scene(f);
    }
    StoryFixture f;
    f.at(question);
    stage::stageLine(f.game, 1);
    story::answerChoice(f.game, wrong);
    story::advanceLine(f.game); // the mistake line, with its own figures
    QCOMPARE(story::typing().fullText, QStringLiteral("line %1").arg(story::kMistakeLine));
    story::advanceLine(f.game);
    QCOMPARE(story::state().currentLine, branch.cursor + 1);
    QCOMPARE(scene(f), expected);
}

QTEST_MAIN(TestChoices)
#include "tst_choices.moc"
