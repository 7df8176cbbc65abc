#include "app/startup.h"
#include "stage/stagetable.h"
#include "story/choices.h"
#include "story/linetables.h"
#include "story/storystate.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QSet>
#include <QTextCodec>
#include <QtTest>

// The story checker: a.txt must agree with the line tables built into the
// program, fit the text box, and name only pictures that the picture list
// describes. Each check lists every line at fault, not just the first.
class TestScript : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lineCountAndEndings();
    void validUtf8();
    void speakerTags();
    void answers();
    void routesHaveText();
    void linesFitTheTextBox();
    void markupIsOnlyLineBreaks();
    void endingTitlesStandAlone();
    void typedAnswer_data();
    void typedAnswer();
    void picturesAreListed();

private:
    // Line n without its speaker tag.
    QString textOf(int n) const { return story::lineText(n).remove(QRegularExpression(QStringLiteral("^<\\d>"))); }

    QByteArray raw;
};

namespace {

const QString kStoryDir = QStringLiteral(SOLVANE_SOURCE_DIR "/data/story/");

// The text box shows rich text: "<br>" is the one markup a line may carry.
const QString kBreak = QStringLiteral("<br>");

// The text box's face: bold 12 pt "Microsoft Yahei", as substituted here.
QFont textBoxFont()
{
    app::substituteGameFont();
    QFont font(QStringLiteral("Microsoft Yahei"));
    font.setBold(true);
    font.setPointSize(12);
    return font;
}

void failWith(const QStringList &problems)
{
    if (!problems.isEmpty())
        QFAIL(qPrintable(QStringLiteral("\n") + problems.join(QLatin1Char('\n'))));
}

int characters(const QString &text)
{
    return text.toUcs4().size();
}

} // namespace

void TestScript::initTestCase()
{
    QFile file(kStoryDir + QStringLiteral("a.txt"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    raw = file.readAll();
    story::loadScript(file.fileName());
}

void TestScript::lineCountAndEndings()
{
    QStringList problems;
    const int count = story::scriptLines().size();
    if (count != 975)
        problems << QStringLiteral("the script has %1 lines, not 975").arg(count);
    if (!raw.endsWith('\n'))
        problems << QStringLiteral("line %1: no line feed at the end").arg(count);
    for (int n = 1; n <= count; ++n) {
        if (story::scriptLines().at(n - 1).contains('\r'))
            problems << QStringLiteral("line %1: carriage return (line ends must be LF only)").arg(n);
    }
    failWith(problems);
}

void TestScript::validUtf8()
{
    QTextCodec *codec = QTextCodec::codecForName("UTF-8");
    QVERIFY(codec);
    QStringList problems;
    const QList<QByteArray> &lines = story::scriptLines();
    for (int n = 1; n <= lines.size(); ++n) {
        QTextCodec::ConverterState state;
        const QByteArray &line = lines.at(n - 1);
        codec->toUnicode(line.constData(), line.size(), &state);
        if (state.invalidChars > 0 || state.remainingChars > 0)
            problems << QStringLiteral("line %1: invalid UTF-8").arg(n);
    }
    failWith(problems);
}

void TestScript::speakerTags()
{
    const QRegularExpression tag(QStringLiteral("<(\\d+)>"));
    QStringList problems;
    for (int n = 1; n <= story::scriptLines().size(); ++n) {
        const QString text = story::lineText(n);
        QRegularExpressionMatchIterator it = tag.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedStart() != 0)
                problems << QStringLiteral("line %1: tag %2 not at the start of the line").arg(n).arg(m.captured());
            else if (m.captured(1).size() != 1)
                problems << QStringLiteral("line %1: tag %2 is not one of <0> to <9>").arg(n).arg(m.captured());
        }
    }
    failWith(problems);
}

void TestScript::answers()
{
    QStringList problems;
    for (int choice : story::choiceLines()) {
        for (int answer : {1, 2}) {
            const int n = story::answerLine(choice, answer);
            const QString text = textOf(n).trimmed();
            if (text.isEmpty())
                problems << QStringLiteral("line %1: answer %2 of the question at %3 is empty").arg(n).arg(answer).arg(choice);
            else if (characters(text) > 16)
                problems << QStringLiteral("line %1: answer %2 of the question at %3 has %4 characters (at most 16)")
                                .arg(n).arg(answer).arg(choice).arg(characters(text));
        }
    }
    failWith(problems);
}

void TestScript::routesHaveText()
{
    // The endings and the capture scenes: every line is shown, none may be blank.
    const QList<QPair<int, int>> routes = {{852, 857}, {858, 862}, {863, 896}, {897, 911}, {912, 936},
                                           {937, 939}, {940, 947}, {948, 956}, {957, 962}, {963, 964},
                                           {965, 966}, {967, 971}, {972, 975}, {844, 849}};
    QStringList problems;
    for (const auto &route : routes) {
        for (int n = route.first; n <= route.second; ++n) {
            if (textOf(n).trimmed().isEmpty())
                problems << QStringLiteral("line %1: empty (route %2 to %3)").arg(n).arg(route.first).arg(route.second);
        }
    }
    failWith(problems);
}

void TestScript::linesFitTheTextBox()
{
    const QFontMetrics metrics(textBoxFont());
    const int limit = 3 * metrics.lineSpacing();
    QStringList problems;
    for (int n = 1; n <= story::scriptLines().size(); ++n) {
        const QString text = textOf(n).replace(kBreak, QStringLiteral("\n"));
        const int height = metrics.boundingRect(QRect(0, 0, 660, 10000), Qt::TextWordWrap, text).height();
        if (height > limit)
            problems << QStringLiteral("line %1: %2 lines in the text box (at most 3)").arg(n).arg(height / metrics.lineSpacing());
    }
    failWith(problems);
}

void TestScript::markupIsOnlyLineBreaks()
{
    // Anything else that looks like a tag or an entity would vanish or change in the text box.
    QStringList problems;
    for (int n = 1; n <= story::scriptLines().size(); ++n) {
        const QString text = textOf(n).remove(kBreak);
        if (text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('>')) || text.contains(QLatin1Char('&')))
            problems << QStringLiteral("line %1: markup other than <br>: %2").arg(n).arg(text);
    }
    failWith(problems);
}

void TestScript::endingTitlesStandAlone()
{
    // The title closes the ending on a line of its own, never broken by the box.
    const QFontMetrics metrics(textBoxFont());
    const QRegularExpression title(QStringLiteral("^【结局·[^【】]+】$"));
    QStringList problems;
    for (int n = 1; n <= story::scriptLines().size(); ++n) {
        const QString text = textOf(n);
        const bool ending = story::isEndingLine(n);
        if (!ending) {
            if (text.contains(QStringLiteral("【结局")))
                problems << QStringLiteral("line %1: an ending title on a line that does not end the story").arg(n);
            continue;
        }
        const QStringList parts = text.split(kBreak);
        if (parts.size() != 2 || parts.first().trimmed().isEmpty() || !title.match(parts.last()).hasMatch()) {
            problems << QStringLiteral("line %1: not \"text<br>【结局·title】\": %2").arg(n).arg(text);
            continue;
        }
        const int width = metrics.horizontalAdvance(parts.last());
        if (width > 660)
            problems << QStringLiteral("line %1: the title is %2 px wide (the box is 660)").arg(n).arg(width);
    }
    failWith(problems);
}

void TestScript::typedAnswer_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    // The question asks for the missing character of the captain's "对话".
    QTest::newRow("the character") << QStringLiteral("话") << true;
    QTest::newRow("the whole word") << QStringLiteral("对话") << true;
    QTest::newRow("in a sentence") << QStringLiteral("只有对话") << true;
    QTest::newRow("other half of the gap") << QStringLiteral("对方") << false;
    QTest::newRow("a look") << QStringLiteral("对视") << false;
    QTest::newRow("an answer") << QStringLiteral("对答") << false;
    QTest::newRow("feelings") << QStringLiteral("心") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestScript::typedAnswer()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    const QString question = textOf(story::kInputLine);
    const int gap = question.indexOf(QStringLiteral("对＿"));
    QVERIFY2(gap >= 0, qPrintable(question));
    // The gap must not be parted from its "对" by the box's wrapping: it stays on the first line.
    QVERIFY2(QFontMetrics(textBoxFont()).horizontalAdvance(question.left(gap + 2)) <= 660, qPrintable(question));
    QCOMPARE(story::isRightTypedAnswer(typed), accepted);
}

void TestScript::picturesAreListed()
{
    QFile file(kStoryDir + QStringLiteral("pictures.md"));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
    const QRegularExpression item(QStringLiteral("^- `([^`]+)`:"));
    QSet<QString> listed;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = item.match(line);
        if (m.hasMatch())
            listed.insert(m.captured(1));
    }
    QStringList problems;
    for (const QString &name : stage::stageImageNames()) {
        if (!listed.contains(name))
            problems << QStringLiteral("picture \"%1\" is not in pictures.md").arg(name);
    }
    failWith(problems);
}

QTEST_MAIN(TestScript)
#include "tst_script.moc"
