#include "core/textform.h"
#include "extras/unlockrecord.h"
#include "saves/resume.h"
#include "saves/savefiles.h"
#include "saves/quickslot.h"
#include "saves/saveslots.h"
#include "saves/savestate.h"
#include "saves/savestore.h"
#include "saves/slotcaptions.h"
#include "story/linecursor.h"
#include "story/storyview.h"
#include "audiofixture.h"
#include "filekinds.h"
#include "storyfixture.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

// The save store on real files in a scratch working directory.
class TestSaveStore : public QObject
{
    Q_OBJECT

private slots:
    void storedLine_data();
    void storedLine();
    void save_data();
    void save();
    void saveInCaptureSceneKeepsCursor();
    void savePicturesTheLineItResumesAt_data();
    void savePicturesTheLineItResumesAt();
    void saveBeforeTheFirstLineIsRefused();
    void saveOutsideTheScriptIsRefused_data();
    void saveOutsideTheScriptIsRefused();
    void saveIsBothLinesOrNeither_data();
    void saveIsBothLinesOrNeither();
    void screenshotBelongsToItsSlot();
    void listThatCannotBeReadIsNeverWritten_data();
    void listThatCannotBeReadIsNeverWritten();
    void fullDiskKeepsEverySave();
    void quickSlotStandsApart();
    void quickSaveSaysWhatSaveSays();
    void resumeRecord_data();
    void resumeRecord();
    void load_data();
    void load();
    void loadStartsAFreshRun();
    void drop_data();
    void drop();
    void dropOutOfRangeTouchesNothing_data();
    void dropOutOfRangeTouchesNothing();
    void countFollowsTheLines();
    void noticesAreCountedHere();
    void caption();
};

namespace {

// A grab that yields a picture of its own colour each time, or nothing.
struct Grabs {
    QList<QColor> colours;
    int taken = 0;
    QImage operator()()
    {
        const QColor c = colours.value(taken++);
        if (!c.isValid())
            return QImage();
        QImage image(72, 48, QImage::Format_RGB32);
        image.fill(c);
        return image;
    }
};

QColor colourOf(const QString &path)
{
    const QImage image(path);
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

QByteArray files(const ScratchDir &dir, const QStringList &names)
{
    QByteArray all;
    for (const QString &name : names)
        all += name.toUtf8() + '=' + dir.read(name) + ';';
    return all;
}

QStringList pictures()
{
    return QDir(QStringLiteral("saves")).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

} // namespace

void TestSaveStore::storedLine_data()
{
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("returnLine");
    QTest::addColumn<int>("stored");

    QTest::newRow("ordinary") << 500 << 0 << 500;
    QTest::newRow("before capture") << 947 << 700 << 947;
    QTest::newRow("capture start") << 948 << 650 << 650;
    QTest::newRow("capture end, return in map 1") << 966 << 690 << 687;
    QTest::newRow("capture, return in map 2") << 950 << 755 << 710;
    QTest::newRow("after capture") << 967 << 700 << 967;
    QTest::newRow("map 1 first") << 687 << 0 << 687;
    QTest::newRow("map 1 at its goal") << 692 << 0 << 687;
    QTest::newRow("map 1 won") << 693 << 0 << 693;
    QTest::newRow("between maps") << 702 << 0 << 702;
    QTest::newRow("map 2 first") << 710 << 0 << 710;
    QTest::newRow("map 2 at its goal") << 756 << 0 << 710;
    QTest::newRow("map 2 won") << 757 << 0 << 757;
    QTest::newRow("after map 2") << 761 << 0 << 761;
}

void TestSaveStore::storedLine()
{
    QFETCH(int, cursor);
    QFETCH(int, returnLine);
    QFETCH(int, stored);
    QCOMPARE(saves::storedLine(cursor, returnLine), stored);
}

void TestSaveStore::save_data()
{
    QTest::addColumn<QByteArray>("linesBefore"); // "<none>": no saves directory at all
    QTest::addColumn<QByteArray>("mistakesBefore");
    QTest::addColumn<QByteArray>("linesAfter");
    QTest::addColumn<QByteArray>("mistakesAfter");
    QTest::addColumn<int>("slot");

    QTest::newRow("no saves directory") << QByteArray("<none>") << QByteArray() << QByteArray("120\n")
                                        << QByteArray("2\n") << 1;
    QTest::newRow("empty directory") << QByteArray("<empty>") << QByteArray() << QByteArray("120\n")
                                     << QByteArray("2\n") << 1;
    QTest::newRow("two slots") << QByteArray("5\n9\n") << QByteArray("0\n1\n") << QByteArray("5\n9\n120\n")
                               << QByteArray("0\n1\n2\n") << 3;
    QTest::newRow("no final line end") << QByteArray("5\n9") << QByteArray("0\n1") << QByteArray("5\n9\n120\n")
                                       << QByteArray("0\n1\n2\n") << 3;
    QTest::newRow("written elsewhere with CRLF") << QByteArray("5\r\n9\r\n") << QByteArray("0\r\n1\r\n")
                                                 << QByteArray("5\n9\n120\n") << QByteArray("0\n1\n2\n") << 3;
    QTest::newRow("fewer mistake lines") << QByteArray("5\n9\n") << QByteArray("0\n") << QByteArray("5\n9\n120\n")
                                         << QByteArray("0\n\n2\n") << 3;
    QTest::newRow("more mistake lines") << QByteArray("5\n") << QByteArray("0\n1\n4\n") << QByteArray("5\n120\n")
                                        << QByteArray("0\n2\n") << 2;
    QTest::newRow("blank line kept") << QByteArray("5\n\n") << QByteArray("0\n\n") << QByteArray("5\n\n120\n")
                                     << QByteArray("0\n\n2\n") << 3;
}

void TestSaveStore::save()
{
    QFETCH(QByteArray, linesBefore);
    QFETCH(QByteArray, mistakesBefore);
    QFETCH(QByteArray, linesAfter);
    QFETCH(QByteArray, mistakesAfter);
    QFETCH(int, slot);

    StoryFixture f;
    if (linesBefore == "<empty>") {
        QDir().mkpath("saves");
    } else if (linesBefore != "<none>") {
        f.dir.write("saves/save.txt", linesBefore);
        f.dir.write("saves/cuowu.txt", mistakesBefore);
    }
    Grabs grabs{{Qt::red}};
    f.game.hooks.grabWindow = std::ref(grabs);
    f.at(120);
    story::state().mistakeCount = 2;
    extras::cgProgress() = 7.2f;

    const saves::Outcome outcome = saves::saveSlot(f.game);
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.notice, QStringLiteral("已保存"));
    QCOMPARE(f.dir.readText("saves/save.txt"), linesAfter);
    QCOMPARE(f.dir.readText("saves/cuowu.txt"), mistakesAfter);
    QCOMPARE(colourOf(QStringLiteral("saves/%1.png").arg(slot)), QColor(Qt::red));
    QCOMPARE(pictures().size(), 1);
    QCOMPARE(f.dir.read("saves/extra.txt"), QByteArray("7.2"));
    QCOMPARE(story::state().currentLine, 120);
}

void TestSaveStore::saveInCaptureSceneKeepsCursor()
{
    StoryFixture f;
    f.game.hooks.grabWindow = [] { return QImage(); };
    f.at(955);
    core::process().interlude.interludeReturnLine = 730;

    QVERIFY(saves::saveSlot(f.game).ok);
    QCOMPARE(f.dir.readText("saves/save.txt"), QByteArray("710\n"));
    QCOMPARE(story::state().currentLine, 955);
    QCOMPARE(story::state().viewLine, 955);
}

void TestSaveStore::savePicturesTheLineItResumesAt_data()
{
    QTest::addColumn<bool>("quick");
    QTest::newRow("a slot") << false;
    QTest::newRow("the quick slot") << true;
}

// Saved while paging back: the picture and the first words are the line a
// load resumes at, not the earlier line on screen.
void TestSaveStore::savePicturesTheLineItResumesAt()
{
    QFETCH(bool, quick);
    StoryFixture f;
    QString pictured;
    f.game.hooks.grabWindow = [&f, &pictured] {
        pictured = f.text();
        return QImage(8, 8, QImage::Format_RGB32);
    };
    f.at(262);
    f.controller->next1();
    f.finishTyping();
    story::browseHistory(f.game, 1);
    story::browseHistory(f.game, 1);
    QCOMPARE(f.text(), QStringLiteral("line 261"));
    QVERIFY(quick ? saves::quickSave(f.game).ok : saves::saveSlot(f.game).ok);
    QCOMPARE(pictured, QStringLiteral("line 263"));
    QVERIFY(!story::storyView().readingBack());
}

void TestSaveStore::saveBeforeTheFirstLineIsRefused()
{
    StoryFixture f;
    f.game.hooks.grabWindow = [] { return QImage(8, 8, QImage::Format_RGB32); };
    f.at(0);
    const saves::Outcome outcome = saves::saveSlot(f.game);
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.notice, QStringLiteral("还没有可以保存的内容"));
    QVERIFY(!QDir("saves").exists());
}

void TestSaveStore::saveOutsideTheScriptIsRefused_data()
{
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("returnLine");
    QTest::newRow("past the script") << 5000 << 0;
    QTest::newRow("capture scene returning past the script") << 950 << 5000;
    QTest::newRow("capture scene returning nowhere") << 950 << 0;
}

// A save a load would call damaged is not made: neither 存档 nor F5 stores a
// line that is not in the script.
void TestSaveStore::saveOutsideTheScriptIsRefused()
{
    QFETCH(int, cursor);
    QFETCH(int, returnLine);
    StoryFixture f;
    f.game.hooks.grabWindow = [] { return QImage(8, 8, QImage::Format_RGB32); };
    f.at(cursor);
    core::process().interlude.interludeReturnLine = returnLine;
    MessageLog log;
    const saves::Outcome saved = saves::saveSlot(f.game);
    QVERIFY(!saved.ok);
    QCOMPARE(saved.notice, QStringLiteral("保存失败：当前位置不在剧本中"));
    const saves::Outcome quick = saves::quickSave(f.game);
    QVERIFY(!quick.ok);
    QCOMPARE(quick.notice, QStringLiteral("保存失败：当前位置不在剧本中"));
    QCOMPARE(log.count(QStringLiteral("不在剧本中")), 2);
    QVERIFY(!QDir("saves").exists());
}

void TestSaveStore::saveIsBothLinesOrNeither_data()
{
    QTest::addColumn<QString>("blocked"); // made a link, which is read but never written through
    QTest::addColumn<QByteArray>("linesBefore");

    QTest::newRow("mistakes file, existing slots") << "saves/cuowu.txt" << QByteArray("5\n9\n");
    QTest::newRow("mistakes file, first save") << "saves/cuowu.txt" << QByteArray("<none>");
    QTest::newRow("lines file") << "saves/save.txt" << QByteArray("<none>");
}

void TestSaveStore::saveIsBothLinesOrNeither()
{
    QFETCH(QString, blocked);
    QFETCH(QByteArray, linesBefore);
    SKIP_IF_NO_SUCH_FILE_HERE("link");

    StoryFixture f;
    if (linesBefore != "<none>")
        f.dir.write("saves/save.txt", linesBefore);
    f.dir.write("elsewhere.txt", blocked.endsWith("save.txt") ? QByteArray() : QByteArray("0\n0\n"));
    QFile::remove(blocked);
    QDir().mkpath("saves");
    QVERIFY(QFile::link(f.dir.path() + "/elsewhere.txt", blocked));
    Grabs grabs{{Qt::red}};
    f.game.hooks.grabWindow = std::ref(grabs);
    f.at(120);
    const QStringList names{"saves/save.txt", "saves/cuowu.txt", "elsewhere.txt"};
    const QByteArray before = files(f.dir, names);
    QSignalSpy notices(f.controller.get(), &MainWindow::saveChanged);

    f.controller->save1();
    QVERIFY(notices.wait(1000));

    QCOMPARE(files(f.dir, names), before);
    // The picture is written first and goes with the failed lines.
    QVERIFY(pictures().isEmpty());
    QCOMPARE(saves::saveState().notice(), QStringLiteral("保存失败：文件是链接"));
}

void TestSaveStore::listThatCannotBeReadIsNeverWritten_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    for (const char *file : {"saves/save.txt", "saves/cuowu.txt"}) {
        for (const char *kind : {"unreadable", "directory", "pipe", "device"})
            QTest::addRow("%s %s", file, kind) << file << kind;
    }
}

// Neither a save nor a delete may take such a list for empty and write over it.
void TestSaveStore::listThatCannotBeReadIsNeverWritten()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    StoryFixture f;
    const QString other = file.endsWith("save.txt") ? "saves/cuowu.txt" : "saves/save.txt";
    f.dir.write(other, "3\n50\n120\n");
    f.dir.write("saves/1.png", "first picture");
    SKIP_IF_NO_SUCH_FILE_HERE(kind);
    QVERIFY(makeFileKind(f.dir, kind, file, "3\n50\n120\n"));
    Grabs grabs{{Qt::red}};
    f.game.hooks.grabWindow = std::ref(grabs);
    f.at(200);
    const DacOff dac(kind == "unreadable");
    const QByteArray before = files(f.dir, {other, "saves/1.png"});

    QCOMPARE(saves::saveSlot(f.game).notice, QStringLiteral("保存失败：存档文件无法读取"));
    QCOMPARE(saves::dropSlot(f.game, 1).notice, QStringLiteral("删除失败：存档文件无法读取"));
    QCOMPARE(saves::loadSlot(f.game, 1).notice, QStringLiteral("读取失败：存档文件无法读取"));
    QCOMPARE(files(f.dir, {other, "saves/1.png"}), before);
    QCOMPARE(pictures(), QStringList{"1.png"});
    // The load page says why it lists nothing.
    f.controller->requestSaveCount();
    QCOMPARE(f.controller->getSaveCount(), 0);
    QCOMPARE(saves::saveState().listProblem(), QStringLiteral("存档列表无法读取"));
}

void TestSaveStore::fullDiskKeepsEverySave()
{
    SmallDisk disk(256 * 1024);
    if (!disk.mounted())
        QSKIP("no small file system can be mounted here");
    StoryFixture f;
    // A saves folder that is a link elsewhere stays usable.
    QVERIFY(QFile::link(disk.path(), "saves"));
    Grabs grabs{{Qt::red, Qt::green, Qt::blue, Qt::yellow}};
    f.game.hooks.grabWindow = std::ref(grabs);
    for (int line : {3, 50, 120}) {
        f.at(line);
        QVERIFY(saves::saveSlot(f.game).ok);
    }
    const QByteArray before = files(f.dir, {"saves/save.txt", "saves/cuowu.txt", "saves/1.png", "saves/3.png"});
    disk.fill();
    f.at(200);
    const saves::Outcome outcome = saves::saveSlot(f.game);
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.notice, QStringLiteral("保存失败：磁盘空间不足"));
    QCOMPARE(files(f.dir, {"saves/save.txt", "saves/cuowu.txt", "saves/1.png", "saves/3.png"}), before);
    QCOMPARE(pictures(), (QStringList{"1.png", "2.png", "3.png"}));
}

// F5 and F9: one quick slot beside the numbered ones, never in their list.
void TestSaveStore::quickSlotStandsApart()
{
    StoryFixture f;
    Grabs grabs{{Qt::red, Qt::green, Qt::blue, Qt::yellow}};
    f.game.hooks.grabWindow = std::ref(grabs);
    for (int line : {3, 50}) {
        f.at(line);
        QVERIFY(saves::saveSlot(f.game).ok);
    }
    f.at(120);
    core::process().story.mistakeCount = 2;
    QCOMPARE(saves::quickSave(f.game).notice, QStringLiteral("已快速保存"));
    QCOMPARE(f.dir.readText("saves/quick.txt"), QByteArray("120 2\n"));
    QCOMPARE(colourOf("saves/quick.png"), QColor(Qt::blue));
    QCOMPARE(f.dir.readText("saves/save.txt"), QByteArray("3\n50\n"));
    QCOMPARE(saves::countSaveSlots(), 2);
    QCOMPARE(saves::quickSaveLine(), 120);

    // A delete renumbers the numbered slots only.
    QVERIFY(saves::dropSlot(f.game, 1).ok);
    QCOMPARE(pictures(), (QStringList{"1.png", "quick.png"}));
    QCOMPARE(colourOf("saves/1.png"), QColor(Qt::green));
    QCOMPARE(f.dir.readText("saves/quick.txt"), QByteArray("120 2\n"));

    // F9 from elsewhere asks first; confirmed, or from the same place, it loads.
    f.at(200);
    QSignalSpy asked(&saves::saveState(), &saves::SaveState::quickLoadAsked);
    f.controller->quickLoad1(0);
    QCOMPARE(asked.count(), 1);
    QCOMPARE(core::process().story.currentLine, 200);
    QVERIFY(saves::quickLoad(f.game, true).ok);
    QCOMPARE(core::process().story.currentLine, 120);
    QCOMPARE(core::process().story.mistakeCount, 2);
    QVERIFY(saves::quickLoad(f.game, false).ok);
}

// F5 says what 存档 says: a picture that could not be taken and a record
// that could not be written.
void TestSaveStore::quickSaveSaysWhatSaveSays()
{
    StoryFixture f;
    f.at(120);
    extras::cgProgress() = 3;
    QVERIFY(QDir().mkpath("saves/extra.txt")); // the unlock record cannot be written
    f.dir.write("saves/quick.png", "the last quick save's picture");
    MessageLog log;
    const saves::Outcome quick = saves::quickSave(f.game); // no window to grab
    QVERIFY(quick.ok);
    QCOMPARE(quick.notice, QStringLiteral("已快速保存，但截图失败，解锁记录无法写入"));
    QCOMPARE(f.dir.readText("saves/quick.txt"), QByteArray("120 0\n"));
    QVERIFY(!QFile::exists("saves/quick.png"));
    QCOMPARE(log.count(QStringLiteral("截图失败")), 1);
    const saves::Outcome saved = saves::saveSlot(f.game);
    QCOMPARE(saved.notice, QStringLiteral("已保存，但截图失败，解锁记录无法写入"));
}

void TestSaveStore::resumeRecord_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("resumed");
    QTest::newRow("as written") << "" << true;
    QTest::newRow("damaged") << "garbage" << false;
    QTest::newRow("line past the script") << "line" << false;
    QTest::newRow("stale") << "stale" << false;
    QTest::newRow("written 180 s ago") << "aged" << false;
    QTest::newRow("written 60 s ago") << "recent" << true;
    QTest::newRow("capture scene returning past the script") << "returnPast" << false;
    QTest::newRow("capture scene returning to line 0") << "returnZero" << false;
    QTest::newRow("none") << "none" << false;
}

// What a display-mode change hands to the new process, read once.
void TestSaveStore::resumeRecord()
{
    QFETCH(QString, damage);
    QFETCH(bool, resumed);
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(690); // in the first map: the new process starts it again with the tries left
    core::process().story.mistakeCount = 3;
    core::process().interlude.triesLeft = 1;
    core::process().interlude.playerCaught = 1;
    for (int line = 1; line <= 600; ++line)
        core::process().shownLines << line;
    QVERIFY(saves::writeResumeRecord(f.game));
    QByteArray record = f.dir.read(saves::kResumeFile);
    if (damage == "garbage")
        record = "\x01\x02 not a record";
    if (damage == "line")
        record.replace("line 690", "line 99999");
    if (damage == "stale")
        record.replace(QByteArray("written "), QByteArray("written 1"));
    static const QRegularExpression written(QStringLiteral("written \\d+"));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (damage == "aged" || damage == "recent") {
        const qint64 ago = damage == "aged" ? 180 * 1000 : 60 * 1000;
        record = QString::fromUtf8(record).replace(written, QStringLiteral("written %1").arg(now - ago)).toUtf8();
    }
    static const QRegularExpression returnLine(QStringLiteral("returnLine \\d+"));
    if (damage == "returnPast" || damage == "returnZero") {
        record.replace("line 690", "line 950");
        const QString to = damage == "returnPast" ? QStringLiteral("returnLine 5000") : QStringLiteral("returnLine 0");
        record = QString::fromUtf8(record).replace(returnLine, to).toUtf8();
    }
    if (damage == "none")
        QFile::remove(saves::kResumeFile);
    else
        f.dir.write(saves::kResumeFile, record);

    // A new process: everything fresh but the script it reads again.
    const QList<QByteArray> script = core::process().scriptLines;
    core::resetProcessState();
    core::process().scriptLines = script;
    f.controller->navigateindex();
    QCOMPARE(saves::resumeFromRecord(f.game), resumed);
    QVERIFY(!QFile::exists(saves::kResumeFile));
    if (!resumed) {
        QCOMPARE(f.controller->getCurrentPage(), QStringLiteral("index"));
        return;
    }
    QCOMPARE(f.controller->getCurrentPage(), QStringLiteral("game"));
    QCOMPARE(core::process().story.currentLine, 687);
    QCOMPARE(core::process().story.mistakeCount, 3);
    QCOMPARE(core::process().interlude.triesLeft, 1);
    QCOMPARE(core::process().interlude.playerCaught, 1);
    // The backlog comes along, its newest 500 lines, then the line resumed at.
    const QVector<int> &shown = core::process().shownLines;
    QCOMPARE(shown.size(), 501);
    QCOMPARE(shown.first(), 101);
    QCOMPARE(shown.mid(499), (QVector<int>{600, 687}));
}

void TestSaveStore::screenshotBelongsToItsSlot()
{
    StoryFixture f;
    f.dir.write("saves/2.png", "stale picture of a deleted slot");
    Grabs grabs{{QColor(), Qt::green, Qt::blue}};
    f.game.hooks.grabWindow = std::ref(grabs);
    extras::cgProgress() = 3;
    MessageLog log;

    f.at(10);
    const saves::Outcome first = saves::saveSlot(f.game);
    QVERIFY(first.ok);
    QCOMPARE(first.notice, QStringLiteral("已保存，但截图失败"));
    QCOMPARE(log.count("截图失败"), 1);
    QCOMPARE(f.dir.read("saves/extra.txt"), QByteArray("3"));

    f.at(20);
    QCOMPARE(saves::saveSlot(f.game).notice, QStringLiteral("已保存"));
    f.at(30);
    QCOMPARE(saves::saveSlot(f.game).notice, QStringLiteral("已保存"));

    QCOMPARE(f.dir.readText("saves/save.txt"), QByteArray("10\n20\n30\n"));
    QVERIFY(!QFile::exists("saves/1.png"));
    QCOMPARE(colourOf("saves/2.png"), QColor(Qt::green));
    QCOMPARE(colourOf("saves/3.png"), QColor(Qt::blue));
}

void TestSaveStore::load_data()
{
    QTest::addColumn<QByteArray>("lines");    // "<none>": no file
    QTest::addColumn<QByteArray>("mistakes");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("line");            // 0: refused
    QTest::addColumn<int>("mistakeCount");
    QTest::addColumn<QString>("warning");

    const QByteArray three("10\n20\n30\n");
    const QByteArray threeMistakes("0\n1\n2\n");
    QTest::newRow("oldest") << three << threeMistakes << 1 << 10 << 0 << "";
    QTest::newRow("newest") << three << threeMistakes << 3 << 30 << 2 << "";
    QTest::newRow("CRLF and spaces") << QByteArray(" 10 \r\n20\r\n") << QByteArray("4\r\n5\r\n") << 1 << 10 << 4
                                     << "";
    QTest::newRow("no files") << QByteArray("<none>") << QByteArray() << 1 << 0 << 0 << "无法打开存档文件: ";
    QTest::newRow("empty file") << QByteArray("") << QByteArray("") << 1 << 0 << 0
                                << "存档位置超出范围: 1 (总存档数: 0)";
    QTest::newRow("position 0") << three << threeMistakes << 0 << 0 << 0 << "存档位置超出范围: 0 (总存档数: 3)";
    QTest::newRow("past the end") << three << threeMistakes << 4 << 0 << 0 << "存档位置超出范围: 4 (总存档数: 3)";
    QTest::newRow("fewer mistake lines") << three << QByteArray("0\n1\n") << 3 << 0 << 0
                                         << "存档位置超出范围: 3 (总存档数: 2)";
    QTest::newRow("blank line") << QByteArray("10\n\n30\n") << threeMistakes << 2 << 0 << 0
                                << "存档内容不是有效的整数 ''";
    QTest::newRow("words") << QByteArray("ten\n") << QByteArray("0\n") << 1 << 0 << 0
                           << "存档内容不是有效的整数 'ten'";
    QTest::newRow("mistakes not a number") << QByteArray("10\n") << QByteArray("x\n") << 1 << 0 << 0
                                           << "存档内容不是有效的整数 'x'";
    QTest::newRow("line 0") << QByteArray("0\n") << QByteArray("0\n") << 1 << 0 << 0
                            << "存档内容不是有效的整数 '0'";
    QTest::newRow("past the script") << QByteArray("976\n") << QByteArray("0\n") << 1 << 0 << 0
                                     << "存档内容不是有效的整数 '976'";
    QTest::newRow("last line of the script") << QByteArray("975\n") << QByteArray("999\n") << 1 << 975 << 999
                                             << "";
    QTest::newRow("negative mistakes") << QByteArray("10\n") << QByteArray("-1\n") << 1 << 0 << 0
                                       << "存档内容不是有效的整数 '-1'";
    QTest::newRow("too many mistakes") << QByteArray("10\n") << QByteArray("1000\n") << 1 << 0 << 0
                                       << "存档内容不是有效的整数 '1000'";
}

void TestSaveStore::load()
{
    QFETCH(QByteArray, lines);
    QFETCH(QByteArray, mistakes);
    QFETCH(int, position);
    QFETCH(int, line);
    QFETCH(int, mistakeCount);
    QFETCH(QString, warning);

    StoryFixture f;
    if (lines != "<none>") {
        f.dir.write("saves/save.txt", lines);
        f.dir.write("saves/cuowu.txt", mistakes);
    }
    f.at(42);
    story::state().mistakeCount = 7;
    const QByteArray before = files(f.dir, {"saves/save.txt", "saves/cuowu.txt"});
    MessageLog log;

    QSignalSpy noticed(&saves::saveState(), &saves::SaveState::noticed);
    f.controller->loadSave(position);

    QCOMPARE(files(f.dir, {"saves/save.txt", "saves/cuowu.txt"}), before);
    if (line == 0) {
        QVERIFY2(log.count(warning) == 1, qPrintable(log.messages.join('\n')));
        QCOMPARE(story::state().currentLine, 42);
        QCOMPARE(story::state().viewLine, 42);
        QCOMPARE(story::state().mistakeCount, 7);
        QVERIFY(saves::saveState().notice().startsWith(QStringLiteral("读取失败")));
        return;
    }
    QCOMPARE(story::state().currentLine, line);
    QCOMPARE(story::state().viewLine, line);
    QCOMPARE(story::state().mistakeCount, mistakeCount);
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("line %1").arg(line));
    QCOMPARE(noticed.count(), 0);
}

void TestSaveStore::loadStartsAFreshRun()
{
    StoryFixture f;
    QTimer interludeTimer;
    stage::interludeTimer() = &interludeTimer;
    f.dir.write("saves/save.txt", "300\n");
    f.dir.write("saves/cuowu.txt", "1\n");
    f.at(690);
    story::state().interludeActive = true;
    story::state().mistakePending = true;
    stage::interlude().triesLeft = 1;
    stage::interlude().playerCaught = 1;
    stage::interlude().companionCaught = 1;
    stage::interlude().clockHeld = true;
    interludeTimer.start(10);
    f.game.publish(prop::daanvisible, 1);

    f.controller->loadSave(1);
    stage::interludeTimer() = nullptr;

    QVERIFY(!story::state().interludeActive);
    QVERIFY(!story::state().mistakePending);
    // Line 300 has no map: the step sleeps, and no capture holds the next map.
    QVERIFY(!interludeTimer.isActive());
    QVERIFY(!stage::interlude().clockHeld);
    QCOMPARE(stage::interlude().triesLeft, 3);
    QCOMPARE(stage::interlude().playerCaught, 0);
    QCOMPARE(stage::interlude().companionCaught, 0);
    QVERIFY(!f.shown(prop::daanvisible));
    // The next step goes on from the loaded line, not to the mistake line.
    f.finishTyping();
    f.controller->next1();
    QCOMPARE(story::state().currentLine, 301);
}

void TestSaveStore::drop_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QByteArray>("mistakes");
    QTest::addColumn<QStringList>("shots"); // file names, each holding its own name
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("linesAfter");
    QTest::addColumn<QByteArray>("mistakesAfter");
    QTest::addColumn<QStringList>("shotsAfter"); // "new=old": the file now named new holds old's content

    const QByteArray four("10\n20\n30\n40\n");
    const QByteArray fourMistakes("0\n1\n2\n3\n");
    QTest::newRow("middle") << four << fourMistakes << QStringList{"1", "2", "3", "4"} << 2
                            << QByteArray("10\n30\n40\n") << QByteArray("0\n2\n3\n")
                            << QStringList{"1=1", "2=3", "3=4"};
    QTest::newRow("newest") << four << fourMistakes << QStringList{"1", "2", "3", "4"} << 4
                            << QByteArray("10\n20\n30\n") << QByteArray("0\n1\n2\n")
                            << QStringList{"1=1", "2=2", "3=3"};
    // Slot 3's screenshot failed; 4 and 5 still move with their slots.
    QTest::newRow("past a failed screenshot") << QByteArray("10\n20\n30\n40\n50\n") << QByteArray("0\n1\n2\n3\n4\n")
                                              << QStringList{"1", "2", "4", "5"} << 1
                                              << QByteArray("20\n30\n40\n50\n") << QByteArray("1\n2\n3\n4\n")
                                              << QStringList{"1=2", "3=4", "4=5"};
    QTest::newRow("only slot") << QByteArray("10\n") << QByteArray("0\n") << QStringList{"1"} << 1 << QByteArray()
                               << QByteArray() << QStringList{};
    QTest::newRow("blank lines dropped") << QByteArray("10\n\n20\n30\n\n") << QByteArray("0\n\n1\n2\n\n")
                                         << QStringList{"1", "3", "4"} << 1 << QByteArray("20\n30\n")
                                         << QByteArray("1\n2\n") << QStringList{"1=3", "2=4"};
    // A count left blank (its slot refused) keeps its place, so the later pairs hold.
    QTest::newRow("blank count kept in place") << QByteArray("10\n20\n30\n") << QByteArray("0\n\n2\n")
                                               << QStringList{} << 1 << QByteArray("20\n30\n")
                                               << QByteArray("\n2\n") << QStringList{};
    QTest::newRow("CRLF") << QByteArray("10\r\n20\r\n") << QByteArray("0\r\n1\r\n") << QStringList{"1", "2"} << 1
                          << QByteArray("20\n") << QByteArray("1\n") << QStringList{"1=2"};
    QTest::newRow("leading zero and second dot count") << QByteArray("10\n20\n30\n") << QByteArray("0\n1\n2\n")
                                                       << QStringList{"1", "02", "3.old", "cover"} << 1
                                                       << QByteArray("20\n30\n") << QByteArray("1\n2\n")
                                                       << QStringList{"1=02", "2=3.old", "cover=cover"};
    QTest::newRow("fewer mistake lines") << QByteArray("10\n20\n30\n") << QByteArray("0\n") << QStringList{} << 3
                                         << QByteArray("10\n20\n") << QByteArray("0\n") << QStringList{};
}

void TestSaveStore::drop()
{
    QFETCH(QByteArray, lines);
    QFETCH(QByteArray, mistakes);
    QFETCH(QStringList, shots);
    QFETCH(int, position);
    QFETCH(QByteArray, linesAfter);
    QFETCH(QByteArray, mistakesAfter);
    QFETCH(QStringList, shotsAfter);

    StoryFixture f;
    f.dir.write("saves/save.txt", lines);
    f.dir.write("saves/cuowu.txt", mistakes);
    for (const QString &shot : shots)
        f.dir.write("saves/" + shot + ".png", shot.toUtf8());
    f.controller->requestSaveCount();
    QSignalSpy counts(f.controller.get(), &MainWindow::saveCountChanged);

    f.controller->dropsaves(position);

    QCOMPARE(f.dir.readText("saves/save.txt"), linesAfter);
    QCOMPARE(f.dir.readText("saves/cuowu.txt"), mistakesAfter);
    QStringList after;
    for (const QString &name : pictures())
        after << name.chopped(4) + '=' + QString::fromUtf8(f.dir.read("saves/" + name));
    QCOMPARE(after, shotsAfter);
    QCOMPARE(counts.size(), 1);
    QCOMPARE(f.controller->getSaveCount(), saves::countSaveSlots());
}

void TestSaveStore::dropOutOfRangeTouchesNothing_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -1;
    QTest::newRow("past the end") << 3;
}

void TestSaveStore::dropOutOfRangeTouchesNothing()
{
    QFETCH(int, position);

    StoryFixture f;
    f.dir.write("saves/save.txt", "10\n\n");
    f.dir.write("saves/cuowu.txt", "0\n\n");
    for (const char *shot : {"0", "1", "2"})
        f.dir.write(QStringLiteral("saves/%1.png").arg(shot), shot);
    const QStringList names = {"saves/save.txt", "saves/cuowu.txt", "saves/0.png", "saves/1.png", "saves/2.png"};
    const QByteArray before = files(f.dir, names);
    MessageLog log;

    f.controller->dropsaves(position);

    QCOMPARE(files(f.dir, names), before);
    QCOMPARE(log.count("无效的删除位置"), 1);
    QCOMPARE(saves::saveState().notice(), QStringLiteral("删除失败：没有这个存档"));
}

void TestSaveStore::countFollowsTheLines()
{
    StoryFixture f;
    QSignalSpy counts(f.controller.get(), &MainWindow::saveCountChanged);
    QSignalSpy refreshes(f.controller.get(), &MainWindow::refreshImagesRequested);

    f.dir.write("saves/save.txt", "10\r\n20\r\n\r\n30");
    f.controller->requestSaveCount();
    QCOMPARE(f.controller->getSaveCount(), 4);
    f.controller->requestSaveCount();
    QCOMPARE(counts.size(), 1);
    QCOMPARE(refreshes.size(), 1);
}

// The same word twice is told twice; in 繁體 it is told in Traditional characters.
void TestSaveStore::noticesAreCountedHere()
{
    StoryFixture f;
    QSignalSpy noticed(&saves::saveState(), &saves::SaveState::noticed);
    saves::tellPlayer(QStringLiteral("已保存"));
    saves::tellPlayer(QStringLiteral("已保存"));
    saves::tellPlayer(QString()); // nothing to say
    QCOMPARE(noticed.count(), 2);

    QSignalSpy changed(&saves::saveState(), &saves::SaveState::noticeChanged);
    f.settings.setTextForm(1);
    QCOMPARE(changed.count(), 1);
    saves::tellPlayer(QStringLiteral("删除失败：没有这个存档"));
    QCOMPARE(noticed.count(), 3);
    QCOMPARE(noticed.last().first().toString(), saves::saveState().notice());
    QCOMPARE(saves::saveState().notice(), core::shown(QStringLiteral("删除失败：没有这个存档"), core::TextForm(1)));
    QVERIFY(saves::saveState().notice() != QStringLiteral("删除失败：没有这个存档"));
}

void TestSaveStore::caption()
{
    StoryFixture f({"<1>Hello there, this line is long enough to be cut short", "plain"});
    f.dir.write("saves/save.txt", "1\n2\nbad\n");
    f.dir.write("saves/2.png", "x");
    {
        QFile shot("saves/2.png");
        QVERIFY(shot.open(QIODevice::ReadWrite));
        QVERIFY(shot.setFileTime(QDateTime(QDate(2026, 3, 4), QTime(5, 6)), QFileDevice::FileModificationTime));
    }

    QCOMPARE(saves::slotCaption(1), QStringLiteral("「Hello there, this …」"));
    QCOMPARE(saves::slotCaption(2), QStringLiteral("2026-03-04 05:06  「plain」"));
    QCOMPARE(saves::slotCaption(3), QStringLiteral("存档已损坏"));
}

QTEST_MAIN(TestSaveStore)
#include "tst_savestore.moc"
