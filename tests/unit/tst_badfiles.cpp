#include "app/imageguard.h"
#include "app/networkguard.h"
#include "core/state.h"
#include "extras/unlockrecord.h"
#include "saves/savefiles.h"
#include "saves/quickslot.h"
#include "saves/saveslots.h"
#include "settings/settingsfile.h"
#include "story/endings.h"
#include "story/readlines.h"
#include "story/storystate.h"

#include "audiofixture.h"
#include "filekinds.h"
#include "storyfixture.h"
#include "testsupport.h"

#include <QBitArray>
#include <QBuffer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QImage>
#include <QQmlAbstractUrlInterceptor>
#include <QQmlEngine>
#include <QQuickImageProvider>

#include <functional>

// Every file the game reads and writes of its own accord, in each state a
// player's folder can leave it: what is read, what is said, what is left.
class TestBadFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { core::resetProcessState(); }
    void everyReader_data();
    void everyReader();
    void twoCopiesKeepEachOthersReadLines();
    void twoCopiesKeepEachOthersEndings();
    void saveListsReadInPartAreNeverRewritten_data();
    void saveListsReadInPartAreNeverRewritten();
    void picturesAreGuarded_data();
    void picturesAreGuarded();
    void noNetwork_data();
    void noNetwork();
    void settingOptionLines_data();
    void settingOptionLines();
};

namespace {

struct Reader {
    QByteArray content;                 // what the game would have written
    QString value;                      // what it reads as
    QString fallback;                   // what a file it cannot use reads as
    std::function<QString()> read;
    std::function<void()> write;        // a write the game makes of its own accord
};

QByteArray readLinesContent()
{
    QBitArray bits(10);
    for (int line = 1; line <= 9; ++line)
        bits.setBit(line);
    return story::readLinesFileContent(bits);
}

QString readLinesSeen()
{
    QStringList seen;
    for (int line = 1; line < 12; ++line) {
        if (story::isLineRead(line))
            seen << QString::number(line);
    }
    return seen.join(',');
}

QString settingValues()
{
    const settings::StartSettings s = settings::repairSettingsFile();
    // Line 1, the display mode, is start-up's to judge and repair.
    QStringList speeds;
    for (std::size_t i = 1; i < s.lines.size() && i < 4; ++i)
        speeds << QString::fromStdString(s.lines[i]);
    return speeds.join(',');
}

const QMap<QString, Reader> &readers()
{
    static const QMap<QString, Reader> r{
        {"setting.txt", {"2\n0.3\n0.4\n0.6\n", "0.3,0.4,0.6", "0.500000,0.500000,0.500000", settingValues,
                         [] { settings::writeSettingLine("0.700000", 2); }}},
        {"a.txt", {"第一行\n第二行\n", "2", "0",
                   [] { story::loadScript("a.txt"); return QString::number(story::scriptLines().size()); }, [] {}}},
        {"saves/extra.txt", {"5", "5", "0", [] { return QString::number(extras::readUnlockRecord()); },
                             [] { extras::writeUnlockRecord(2); }}},
        {"saves/endings.txt", {"849\n", "849", "",
                               [] {
                                   QStringList lines;
                                   for (int line : story::readEndingsSeen())
                                       lines << QString::number(line);
                                   return lines.join(',');
                               },
                               [] { story::writeEndingsSeen({857}); }}},
        {"saves/read.dat", {readLinesContent(), "1,2,3,4,5,6,7,8,9", "",
                            [] { story::loadReadLines(); return readLinesSeen(); },
                            [] {
                                core::process().readLines.lines.resize(12);
                                core::process().readLines.lines.setBit(11);
                                core::process().readLines.dirty = true;
                                story::saveReadLines();
                            }}},
    };
    return r;
}

} // namespace

void TestBadFiles::everyReader_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    for (const QString &file : readers().keys()) {
        for (const char *kind : {"missing", "unreadable", "directory", "pipe", "device", "link", "huge", "bom", "damaged"})
            QTest::addRow("%s %s", qPrintable(file), kind) << file << QString(kind);
        // Text as a Windows editor saves it; the line bitmap is no text.
        if (!file.endsWith(".dat")) {
            for (const char *kind : {"crlf", "utf16"})
                QTest::addRow("%s %s", qPrintable(file), kind) << file << QString(kind);
        }
    }
}

void TestBadFiles::everyReader()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    const Reader &reader = readers()[file];
    ScratchDir dir;
    const bool damaged = kind == "damaged";
    SKIP_IF_NO_SUCH_FILE_HERE(kind);
    QVERIFY(makeFileKind(dir, damaged ? "regular" : kind, file, damaged ? "\x01garbage\xff" : reader.content));
    const QString name = QFileInfo(file).fileName();
    const bool unusable = kind == "unreadable" || kind == "directory" || kind == "pipe" || kind == "device";

    const QByteArray made = kind == "huge" ? dir.read(file) : QByteArray(); // a pipe would block

    QString value;
    int said = 0;
    int tooLarge = 0;
    {
        const DacOff dac(kind == "unreadable");
        MessageLog log;
        value = reader.read();
        said = log.count(name);
        reader.write();
        reader.write();
        tooLarge = log.count(QStringLiteral("过大"));
    }
    if (unusable || kind == "missing" || damaged) {
        // A file that cannot be used reads as none; the damaged script is still lines.
        if (!(damaged && file == "a.txt"))
            QCOMPARE(value, reader.fallback);
    } else if (kind != "huge") {
        QCOMPARE(value, reader.value);
    }
    if (unusable)
        QCOMPARE(said, 1);
    if (kind == "link" || kind == "bom" || kind == "crlf" || kind == "utf16")
        QCOMPARE(said, 0);

    // What could not be read, and what a link points at, are left as they were.
    const QFileInfo after(dir.path() + "/" + file);
    if (kind == "directory")
        QVERIFY(after.isDir());
    if (kind == "pipe" || kind == "device")
        QVERIFY(!after.isFile() || after.isSymLink());
    if (kind == "unreadable")
        QCOMPARE(after.permissions() & QFileDevice::ReadOwner, QFileDevice::Permissions());
    if (kind == "link") {
        QVERIFY(after.isSymLink());
        QCOMPARE(dir.read("target.txt"), reader.content);
    }
    // Nothing the game writes grows with what it was given.
    if (kind == "huge" && after.isFile())
        QVERIFY2(after.size() <= 2 * 1024 * 1024 + reader.content.size(), qPrintable(QString::number(after.size())));
    if (kind == "huge" && file == "setting.txt")
        QVERIFY(after.size() < 1024);
    // A record read only in part is never rewritten from that part; the one
    // warning says so. (The settings keep their own lines; the script is read whole.)
    if (kind == "huge" && file != "setting.txt" && file != "a.txt") {
        QVERIFY2(dir.read(file) == made, qPrintable(QString::number(after.size())));
        QCOMPARE(tooLarge, 1);
    }
}

// Two copies of the game in one folder: what one wrote, the other keeps.
void TestBadFiles::twoCopiesKeepEachOthersReadLines()
{
    ScratchDir dir;
    dir.write("saves/read.dat", readLinesContent()); // copy B: lines 1 to 9
    core::process().readLines.lines = QBitArray(6);  // copy A read 1 to 5 before B wrote
    for (int line = 1; line <= 5; ++line)
        core::process().readLines.lines.setBit(line);
    core::process().readLines.lines.resize(11);
    core::process().readLines.lines.setBit(10);      // and then line 10
    core::process().readLines.dirty = true;
    QVERIFY(story::saveReadLines());
    story::loadReadLines();
    QCOMPARE(readLinesSeen(), QStringLiteral("1,2,3,4,5,6,7,8,9,10"));
}

// The same for the endings: what the other copy reached stays in the record.
void TestBadFiles::twoCopiesKeepEachOthersEndings()
{
    StoryFixture f;
    f.dir.write("saves/endings.txt", "896\n"); // copy B reached 896
    core::process().endingsSeen = {849};      // copy A had reached 849 before B wrote
    story::reachEnding(f.game, 857);           // and now reaches 857
    QCOMPARE(f.dir.readText("saves/endings.txt"), QByteArray("849\n857\n896\n"));
    QCOMPARE(core::process().endingsSeen, (QList<int>{849, 857, 896}));
}

void TestBadFiles::saveListsReadInPartAreNeverRewritten_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("saveNotice");  // F5 for the quick record, else 存档
    QTest::addColumn<QString>("dropNotice");  // empty: the delete is not refused
    // The player's 100 MiB of slots, or of mistakes beside three slots: past
    // the 1 MiB read, the rest would be cut off and the other list padded.
    const QByteArray manySlots = QByteArray("5\n").repeated(600 * 1024);
    QTest::newRow("save.txt") << "saves/save.txt" << manySlots << "保存失败：存档文件过大" << "删除失败：存档文件过大";
    QTest::newRow("cuowu.txt") << "saves/cuowu.txt" << QByteArray("0\n").repeated(600 * 1024)
                               << "保存失败：存档文件过大" << "删除失败：存档文件过大";
    QTest::newRow("quick.txt") << "saves/quick.txt" << QByteArray("120 2 ").repeated(200 * 1024)
                               << "保存失败：快速存档文件过大" << "";
}

// A save list the game could read only in part is never written over: save,
// quick save and delete are refused with a word; a load still reads what it can.
void TestBadFiles::saveListsReadInPartAreNeverRewritten()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, saveNotice);
    QFETCH(QString, dropNotice);
    StoryFixture f;
    f.dir.write("saves/save.txt", "5\n6\n7\n");
    f.dir.write("saves/cuowu.txt", "0\n0\n0\n");
    f.dir.write(file, content);
    f.game.hooks.grabWindow = [] {
        QImage image(72, 48, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image;
    };
    const auto everything = [&f] {
        return f.dir.read("saves/save.txt") + '|' + f.dir.read("saves/cuowu.txt") + '|'
            + f.dir.read("saves/quick.txt") + '|' + QDir("saves").entryList(QDir::Files).join(',').toUtf8();
    };
    const QByteArray before = everything();
    f.at(200);

    const bool quick = file.endsWith("quick.txt");
    const saves::Outcome saved = quick ? saves::quickSave(f.game) : saves::saveSlot(f.game);
    QVERIFY(!saved.ok);
    QCOMPARE(saved.notice, saveNotice);
    if (!dropNotice.isEmpty())
        QCOMPARE(saves::dropSlot(f.game, 1).notice, dropNotice);
    QVERIFY(everything() == before);
    // What could be read still loads.
    if (!quick) {
        QVERIFY(saves::loadSlot(f.game, 1).ok);
        QCOMPARE(core::process().story.currentLine, 5);
    }
}

void TestBadFiles::picturesAreGuarded_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("fileSize");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("picture") << "regular" << QSize(40, 20) << QSize() << QSize(40, 20);
    QTest::newRow("shown smaller") << "regular" << QSize(40, 20) << QSize(10, 10) << QSize(10, 5);
    QTest::newRow("too wide") << "regular" << QSize(9000, 4) << QSize() << QSize();
    QTest::newRow("too tall") << "regular" << QSize(100, 9000) << QSize() << QSize();
    QTest::newRow("too tall, even when shown small") << "regular" << QSize(4, 9000) << QSize(4, 4) << QSize();
    QTest::newRow("pipe") << "pipe" << QSize() << QSize() << QSize();
    QTest::newRow("missing") << "missing" << QSize() << QSize() << QSize();
}

// Pictures the pages name by file go through the game's own decoder.
void TestBadFiles::picturesAreGuarded()
{
    QFETCH(QString, kind);
    QFETCH(QSize, fileSize);
    QFETCH(QSize, requested);
    ScratchDir dir;
    QByteArray png;
    if (fileSize.isValid()) {
        QImage picture(fileSize, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    SKIP_IF_NO_SUCH_FILE_HERE(kind);
    QVERIFY(makeFileKind(dir, kind, "png/cg 1.png", png));
    QQmlEngine engine;
    app::guardImages(engine);
    const QUrl file = QUrl::fromLocalFile(dir.path() + "/png/cg 1.png");
    const QUrl guarded = engine.urlInterceptor()->intercept(file, QQmlAbstractUrlInterceptor::UrlString);
    QCOMPARE(guarded.scheme(), QStringLiteral("image"));
    // Only pictures: the pages themselves are left alone.
    const QUrl page = QUrl::fromLocalFile(dir.path() + "/game.qml");
    QCOMPARE(engine.urlInterceptor()->intercept(page, QQmlAbstractUrlInterceptor::UrlString), page);

    auto *provider = static_cast<QQuickImageProvider *>(engine.imageProvider(guarded.host()));
    MessageLog log;
    QSize size;
    const QImage image = provider->requestImage(guarded.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1),
                                                &size, requested);
    QFETCH(QSize, shown);
    QCOMPARE(image.isNull(), !shown.isValid());
    if (shown.isValid())
        QCOMPARE(image.size(), shown);
    if (image.isNull() && kind != "missing")
        QCOMPARE(log.count("cg 1.png"), 1);
}

void TestBadFiles::noNetwork_data()
{
    QTest::addColumn<QString>("url"); // %1: a port on this machine that listens; %2: a picture's file URL
    QTest::addColumn<bool>("refused");
    QTest::newRow("http picture") << "http://127.0.0.1:%1/x.png" << true;
    QTest::newRow("https") << "https://127.0.0.1:%1/x.png" << true;
    QTest::newRow("ftp") << "ftp://127.0.0.1:%1/x.png" << true;
    QTest::newRow("data") << "data:text/plain,%1" << true;
    QTest::newRow("the game's own file") << "%2" << false;
    QTest::newRow("the game's own pages") << "qrc:/qt/qml/solvaneui/main.qml" << false;
}

// A picture named by URL in the story's rich text is fetched by the pages'
// engine: it answers every request but the game's own files with an error,
// at once, sends nothing, and says so once.
void TestBadFiles::noNetwork()
{
    QFETCH(QString, url);
    QFETCH(bool, refused);
    ScratchDir dir;
    dir.write("png/x.png", "a picture");
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QUrl target(QString(url).replace("%1", QString::number(server.serverPort())).replace("%2", QUrl::fromLocalFile(dir.path() + "/png/x.png").toString()));
    QQmlEngine engine;
    app::refuseNetwork(engine);
    QNetworkAccessManager *network = engine.networkAccessManager();
    QVERIFY(network);
    MessageLog log;
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<QNetworkReply> reply(network->get(QNetworkRequest(target)));
        QTRY_VERIFY(reply->isFinished());
        QCOMPARE(reply->error() != QNetworkReply::NoError, refused);
    }
    QTest::qWait(50);
    QVERIFY(!server.hasPendingConnections());
    QCOMPARE(log.count(QStringLiteral("游戏不访问网络")), refused ? 1 : 0);
}

void TestBadFiles::settingOptionLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("kept");     // the line afterwards
    QTest::addColumn<QString>("published");   // what the pages are given
    struct Row {
        int line;
        const char *text, *kept, *published;
    };
    const Row rows[] = {
        {5, "1", "1", "true"}, {5, "nan", "0", "false"}, {5, "inf", "0", "false"}, {5, "-1", "0", "false"},
        {6, "7", "0", "false"}, {6, "0.5", "0", "false"},
        {7, "2", "2", "2"}, {7, "7", "0", "0"}, {7, "-inf", "0", "0"}, {7, "1.5", "0", "0"},
        {8, "1", "1", "1"}, {8, "nan", "0", "0"}, {8, "-1", "0", "0"},
        {9, "0.4", "0.4", "0.4"}, {9, "nan", "0.750000", "0.75"}, {9, "7", "0.750000", "0.75"},
        {9, "0.1", "0.750000", "0.75"},
        {10, "0", "0", "false"}, {10, "inf", "0", "false"}, {10, "x", "0", "false"},
        {11, "0", "0", "0"}, {11, "7", "0", "0"}, {11, "-1", "0", "0"},
    };
    for (const Row &r : rows)
        QTest::addRow("line %d %s", r.line, r.text) << r.line << QByteArray(r.text) << QByteArray(r.kept) << QString(r.published);
}

// Lines 5 to 11 take only the values the README names; anything else is the
// default, repaired in the file with one warning, as lines 2 to 4 are.
void TestBadFiles::settingOptionLines()
{
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, kept);
    QFETCH(QString, published);
    StoryFixture f;
    QList<QByteArray> lines{"0", "0.5", "0.5", "0.5", "0", "0", "0", "0", "0.75", "0", "0"};
    lines[line - 1] = text;
    f.dir.write("setting.txt", lines.join('\n') + '\n');
    {
        MessageLog log;
        settings::repairSettingsFile();
        QCOMPARE(log.count(QStringLiteral("第 %1 行").arg(line)), text == kept ? 0 : 1);
    }
    lines[line - 1] = kept;
    QCOMPARE(f.dir.readText("setting.txt"), lines.join('\n') + '\n');
    f.settings.load();
    const char *names[] = {"wholeLineFirst", "skipReadOnly", "interludeMode", "textSize",
                           "boxOpacity", "readAloud", "textForm"};
    const QVariant value = f.settings.property(names[line - 5]);
    QCOMPARE(value.userType() == QMetaType::Float ? QString::number(value.toFloat()) : value.toString(), published);
}

QTEST_GUILESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
