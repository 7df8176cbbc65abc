// Random and mutated inputs for every text the game reads from disk or from
// the player: no crash, no hang, and the game's state valid afterwards. A fixed
// seed; SOLVANE_FUZZ_CASES raises the number of cases, SOLVANE_FUZZ_SEED
// changes the seed.
#include "core/textlines.h"
#include "extras/unlockrecord.h"
#include "saves/savefiles.h"
#include "saves/saveslots.h"
#include "saves/slotcaptions.h"
#include "settings/displaymode.h"
#include "settings/settinglines.h"
#include "settings/settingsfile.h"
#include "story/choices.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "storyfixture.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

// Messages are counted, not printed: thousands of repairs would bury the log.
struct QuietLog {
    static int &warnings()
    {
        static int n = 0;
        return n;
    }
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &)
    {
        if (type == QtWarningMsg || type == QtCriticalMsg)
            ++warnings();
    }
    QtMessageHandler previous;
    QuietLog() : previous(qInstallMessageHandler(&QuietLog::handle)) {}
    ~QuietLog() { qInstallMessageHandler(previous); }
};

int caseCount()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("SOLVANE_FUZZ_CASES", &ok);
    return ok && n > 0 ? n : 2000;
}

quint32 seed()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("SOLVANE_FUZZ_SEED", &ok);
    return ok ? quint32(n) : 19u;
}

// Bytes that the parsers treat specially, and some they should not.
const QList<QByteArray> kPieces = {
    "0", "1", "2", "9", "12", "551", "975", "976", "-1", "0.5", "1.0", "1e", "1e39", "-0", "0x1p-1",
    "nan", "inf", "-inf", " ", "\t", "\n", "\r\n", "\r", ".", ",", ", ", "<", ">", "<1>", "<12>",
    "<99999999999>", "<-1>", "<>", "\xe8\xaf\xad", "\xe8\xa8\x80", "\xe8\xaf\x9d", "\xff", "\xc3",
    "\xed\xa0\x80", QByteArray(1, '\0'), "abc", "Sorin", "NaN", "Infinity", "+", "e", "E5",
    "2147483647", "2147483648", "-2147483649", "99999999999999999999", "png", ".png", "/", "..",
};

class Generator
{
public:
    explicit Generator(quint32 seed) : rng(seed) {}

    int below(int n) { return n <= 0 ? 0 : int(rng.bounded(quint32(n))); }

    QByteArray randomBytes(int maxPieces)
    {
        QByteArray out;
        const int pieces = below(maxPieces + 1);
        for (int i = 0; i < pieces; ++i) {
            switch (below(3)) {
            case 0: out += kPieces.at(below(kPieces.size())); break;
            case 1: out += char(below(256)); break;
            default: out += QByteArray::number(int(rng.generate()) % 2000 - 500); break;
            }
        }
        return out;
    }

    // A valid text with a few bytes changed, added, removed or repeated.
    QByteArray mutate(QByteArray text)
    {
        const int edits = 1 + below(4);
        for (int e = 0; e < edits; ++e) {
            const int at = below(text.size() + 1);
            switch (below(5)) {
            case 0:
                if (at < text.size())
                    text[at] = char(below(256));
                break;
            case 1: text.insert(at, kPieces.at(below(kPieces.size()))); break;
            case 2: text.remove(at, 1 + below(8)); break;
            case 3: text.insert(at, text.mid(below(text.size()), below(16))); break;
            default: text.truncate(at); break;
            }
        }
        return text;
    }

    QByteArray next(const QByteArray &valid, int maxPieces)
    {
        return below(2) == 0 ? randomBytes(maxPieces) : mutate(valid);
    }

    QString randomText(int maxLength)
    {
        QString out;
        const int length = below(maxLength + 1);
        const QString words = QStringLiteral("语言话说不知道 Sorin<1>\n\t");
        for (int i = 0; i < length; ++i) {
            switch (below(4)) {
            case 0: out += words.at(below(words.size())); break;
            case 1: out += QChar(ushort(below(0x10000))); break; // lone surrogates too
            case 2: out += QChar(ushort(0x20 + below(0x5f))); break;
            default: out += QChar(ushort(0x4e00 + below(0x5200))); break;
            }
        }
        return out;
    }

private:
    QRandomGenerator rng;
};

// How the script reader splits a file: LF ends a line, a CR before it is
// dropped, no empty entry after a final LF.
QList<QByteArray> expectedLines(const QByteArray &content)
{
    QList<QByteArray> lines;
    if (content.isEmpty())
        return lines;
    lines = content.split('\n');
    if (content.endsWith('\n'))
        lines.removeLast();
    for (QByteArray &l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}

QByteArray validScript()
{
    QByteArray s;
    for (int n = 1; n <= 20; ++n)
        s += "<" + QByteArray::number(n % 11) + ">line " + QByteArray::number(n) + "\n";
    return s;
}

} // namespace

class TestFuzz : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void script();
    void settingsFile();
    void saveFiles();
    void screenshotNames();
    void unlockRecord();
    void typedAnswer();

private:
    std::unique_ptr<StoryFixture> story;
    std::unique_ptr<QuietLog> quiet;
    Generator gen{seed()};
};

void TestFuzz::init()
{
    story = std::make_unique<StoryFixture>();
    quiet = std::make_unique<QuietLog>();
}

void TestFuzz::cleanup()
{
    quiet.reset();
    story.reset();
}

void TestFuzz::script()
{
    const QByteArray valid = validScript();
    for (int i = 0; i < caseCount(); ++i) {
        const QByteArray content = gen.next(valid, 40);
        story->dir.write("a.txt", content);
        story::loadScript(QStringLiteral("a.txt"));
        const QList<QByteArray> expected = expectedLines(content);
        QCOMPARE(story::scriptLines(), expected);
        // Every line shown, and some past the end, types to completion.
        const int count = story::scriptLines().size();
        for (int n : {1, count, count + 1, 1 + gen.below(count + 2), 851, 975}) {
            story::typeLine(story->game, n);
            story->finishTyping();
            QVERIFY(story::typing().typingDone);
            QCOMPARE(story::typing().typedText, story::typing().fullText);
            const story::SpeakerSplit s = story::splitSpeaker(story::lineText(n));
            QCOMPARE(story->name(), s.tagged ? story::speakerName(s.id) : QString());
        }
    }
}

void TestFuzz::settingsFile()
{
    const QByteArray valid = "1\n0.25\n0.75\n0.5\nextra\n";
    for (int i = 0; i < caseCount(); ++i) {
        const QByteArray content = gen.next(valid, 12);
        story->dir.write("setting.txt", content);
        const settings::StartSettings repaired = settings::repairSettingsFile();
        QVERIFY(repaired.stored);
        QVERIFY(repaired.lines.size() >= 4);
        for (int n = 2; n <= 4; ++n) {
            const float v = settings::settingValue(repaired, n);
            QVERIFY2(std::isfinite(v) && v >= 0.0f && v <= 1.0f, qPrintable(QString::number(v)));
        }
        const int mode = settings::displayModeFromText(repaired.lines.at(0));
        QVERIFY(mode >= 0 && mode <= 2);
        // What was written reads back as the values the game runs with.
        std::vector<std::string> reread;
        QVERIFY(settings::readLines(&reread));
        QCOMPARE(reread.size(), repaired.lines.size());
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(settings::readSettingLine(n), repaired.lines.at(std::size_t(n - 1)));
        try {
            settings::readSettingLine(int(reread.size()) + 1);
            QFAIL("a line past the end was read");
        } catch (const std::out_of_range &) {
        }
        // A value the game writes reads back as itself.
        for (int n = 2; n <= 4; ++n) {
            const float v = settings::settingValue(repaired, n);
            float back = -1;
            QVERIFY(settings::parseFloatPrefix(settings::formatSettingNumber(v), &back));
            QVERIFY(std::fabs(back - v) < 1e-6f);
        }
        float parsed = 0;
        settings::parseFloatPrefix(content.toStdString(), &parsed);
    }
}

void TestFuzz::saveFiles()
{
    const QByteArray validLines = "100\n551\n";
    const QByteArray validMistakes = "0\n2\n";
    for (int i = 0; i < caseCount(); ++i) {
        story->dir.write("saves/save.txt", gen.next(validLines, 8));
        story->dir.write("saves/cuowu.txt", gen.next(validMistakes, 8));
        core::resetRun(story->game);
        story->at(42);
        story::state().mistakeCount = 1;
        const int count = saves::countSaveSlots();
        QCOMPARE(count, core::readTextLines(QString::fromLatin1(saves::kSaveLinesFile)).size());
        for (int position : {-1, 0, 1, 2, count, count + 1}) {
            const saves::Outcome loaded = saves::loadSlot(story->game, position);
            const story::StoryState &s = story::state();
            if (loaded.ok) {
                QVERIFY(s.currentLine >= 1 && s.currentLine <= story::scriptLines().size());
                QCOMPARE(s.viewLine, s.currentLine);
                QVERIFY(s.mistakeCount >= 0 && s.mistakeCount <= 999);
                QVERIFY(!s.mistakePending);
                QVERIFY(loaded.notice.isEmpty());
                story->at(42);
                story::state().mistakeCount = 1;
            } else {
                QCOMPARE(s.currentLine, 42);
                QCOMPARE(s.mistakeCount, 1);
                QVERIFY(!loaded.notice.isEmpty());
            }
            saves::slotDetails(position);
            saves::slotCaption(position);
        }
        const QList<QByteArray> lines = core::readTextLines(QString::fromLatin1(saves::kSaveLinesFile));
        const int drop = gen.below(count + 2);
        const saves::Outcome dropped = saves::dropSlot(story->game, drop);
        // A delete also drops the blank lines, which are no slots.
        int kept = 0;
        for (int k = 1; k <= lines.size(); ++k)
            kept += (k != drop && !lines.at(k - 1).trimmed().isEmpty()) ? 1 : 0;
        QCOMPARE(saves::countSaveSlots(), dropped.ok ? kept : count);
    }
}

void TestFuzz::screenshotNames()
{
    for (int i = 0; i < caseCount() / 4; ++i) {
        QDir saves(story->dir.path() + "/saves");
        saves.removeRecursively();
        QDir(story->dir.path()).mkpath(QStringLiteral("saves"));
        int slotCount = gen.below(5);
        QByteArray lines;
        for (int k = 0; k < slotCount; ++k)
            lines += QByteArray::number(10 + k) + "\n";
        story->dir.write("saves/save.txt", lines);
        story->dir.write("saves/cuowu.txt", QByteArray(slotCount * 2, '\n').replace("\n\n", "0\n"));
        for (int f = 0; f < 6; ++f) {
            // Slot pictures (-1 to 6), and names that are no number at all; a
            // name like "02" would stand for slot 2 as well and is left out.
            QByteArray name = gen.below(2) ? QByteArray::number(gen.below(8) - 1)
                                           : "x" + gen.randomBytes(3).replace('/', '_').replace('\0', '_');
            if (name.startsWith('x') && gen.below(4) == 0)
                name += "." + gen.randomBytes(2).replace('/', '_').replace('\0', '_');
#ifdef Q_OS_WIN
            // Names Windows refuses cannot be in a player's folder there.
            for (char &c : name) {
                if (uchar(c) < 32 || QByteArrayLiteral("<>:\"\\|?*").contains(c))
                    c = '_';
            }
#endif
            story->dir.write("saves/" + QString::fromLocal8Bit(name) + ".png", "not a picture");
        }
        for (int position = 0; position <= slotCount + 1; ++position) {
            saves::slotDetails(position);
            saves::slotCaption(position);
        }
        // A new save is named by its slot, whatever else lies in the directory.
        if (gen.below(2)) {
            story->game.hooks.grabWindow = [] {
                QImage shot(8, 6, QImage::Format_RGB32);
                shot.fill(Qt::darkBlue);
                return shot;
            };
            story->at(100);
            QVERIFY(saves::saveSlot(story->game).ok);
            ++slotCount;
            QCOMPARE(saves::countSaveSlots(), slotCount);
            QVERIFY(saves.exists(QString::number(slotCount) + ".png"));
        }
        QList<bool> before; // before[k]: k.png there, for k = 0 .. slotCount + 1
        for (int k = 0; k <= slotCount + 1; ++k)
            before << saves.exists(QString::number(k) + ".png");
        const int drop = gen.below(slotCount + 2);
        const saves::Outcome dropped = saves::dropSlot(story->game, drop);
        QCOMPARE(saves::countSaveSlots(), dropped.ok ? slotCount - 1 : slotCount);
        // The later screenshots move down one number, the earlier ones stay.
        if (dropped.ok) {
            for (int k = 1; k < slotCount; ++k)
                QCOMPARE(saves.exists(QString::number(k) + ".png"), k < drop ? before.at(k) : before.at(k + 1));
        }
    }
}

void TestFuzz::unlockRecord()
{
    for (int i = 0; i < caseCount(); ++i) {
        story->dir.write("saves/extra.txt", gen.next("1.1\n17.6\n", 6));
        const float v = extras::readUnlockRecord();
        QVERIFY2(std::isfinite(v) && v >= 0.0f && v <= 36.9f, qPrintable(QString::number(double(v))));
        // What the game writes back is read as the same value.
        QVERIFY(extras::writeUnlockRecord(v));
        QCOMPARE(extras::readUnlockRecord(), v);
    }
}

void TestFuzz::typedAnswer()
{
    for (int i = 0; i < caseCount(); ++i) {
        core::resetRun(story->game);
        story->at(550);
        story->controller->next1();
        story->finishTyping();
        QVERIFY(story->shown(prop::shuruvisible));
        const QString text = gen.randomText(i % 50 == 0 ? 5000 : 40);
        story->controller->shuru1(text);
        const story::StoryState &s = story::state();
        if (text.isEmpty()) {
            QCOMPARE(s.currentLine, 551); // an empty submission is ignored
            continue;
        }
        QVERIFY(!story->shown(prop::shuruvisible));
        if (story::isRightTypedAnswer(text)) {
            QCOMPARE(s.currentLine, 552);
            QVERIFY(!s.mistakePending);
        } else {
            QCOMPARE(s.currentLine, 550);
            QVERIFY(s.mistakePending);
            // Shown in a rich-text box: the player's text is never markup.
            QCOMPARE(story->text(), text.toHtmlEscaped());
            QCOMPARE(story->name(), QStringLiteral("Sorin"));
        }
        QCOMPARE(story::isRightTypedAnswer(text),
                 text.contains(QStringLiteral("语")) || text.contains(QStringLiteral("言"))
                     || text.contains(QStringLiteral("话")) || text.contains(QStringLiteral("語"))
                     || text.contains(QStringLiteral("話")));
    }
}

QTEST_MAIN(TestFuzz)
#include "tst_fuzz.moc"
