#include "app/imageguard.h"
#include "core/state.h"
#include "extras/unlockrecord.h"
#include "settings/settingsfile.h"
#include "story/endings.h"
#include "story/readlines.h"
#include "story/storystate.h"

#include "audiofixture.h"
#include "filekinds.h"
#include "testsupport.h"

#include <QBitArray>
#include <QBuffer>
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
    void picturesAreGuarded_data();
    void picturesAreGuarded();
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
    }
}

void TestBadFiles::everyReader()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    const Reader &reader = readers()[file];
    ScratchDir dir;
    const bool damaged = kind == "damaged";
    QVERIFY(makeFileKind(dir, damaged ? "regular" : kind, file, damaged ? "\x01garbage\xff" : reader.content));
    const QString name = QFileInfo(file).fileName();
    const bool unusable = kind == "unreadable" || kind == "directory" || kind == "pipe" || kind == "device";

    QString value;
    int said = 0;
    {
        const DacOff dac(kind == "unreadable");
        MessageLog log;
        value = reader.read();
        said = log.count(name);
        reader.write();
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
    if (kind == "link" || kind == "bom")
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

void TestBadFiles::picturesAreGuarded_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("fileSize");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("picture") << "regular" << QSize(40, 20) << QSize() << QSize(40, 20);
    QTest::newRow("shown smaller") << "regular" << QSize(40, 20) << QSize(10, 10) << QSize(10, 5);
    QTest::newRow("too wide") << "regular" << QSize(9000, 4) << QSize() << QSize();
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

QTEST_GUILESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
