#include "stage/stagetable.h"
#include "music/music.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtTest>

// Checks the generated pictures and music in the ready-to-play directory
// against what the program's own tables ask for. Fails until the data targets
// have been built.
class TestGameData : public QObject
{
    Q_OBJECT

private slots:
    void picture_data();
    void picture();
    void galleryTile_data();
    void galleryTile();
    void musicFile_data();
    void musicFile();
    void icon();

private:
    static QString gamePath(const QString &relative)
    {
        return QDir(QStringLiteral(SOLVANE_GAME_DIR)).filePath(relative);
    }
};

namespace {

// Exact case: the file must be listed under this very name in its directory.
bool existsWithExactCase(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.dir().entryList(QDir::Files).contains(info.fileName());
}

} // namespace

void TestGameData::picture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");
    QStringList names = stage::stageImageNames();
    names << "ib" << "b" << "difang";
    // Every picture is drawn at twice the size the pages show it.
    for (const QString &name : names) {
        if (name == QLatin1String("difang"))
            QTest::newRow(qPrintable(name)) << name << QSize(40, 40) << true;
        else if (name.startsWith(QLatin1Char('a')))
            QTest::newRow(qPrintable(name)) << name << QSize(560, 980) << true;
        else
            QTest::newRow(qPrintable(name)) << name << QSize(1440, 960) << false;
    }
    // The interludes' pictures lie over the shapes of the maps: each in its
    // shape's proportions, or the page would stretch it.
    const QList<QPair<QString, QSize>> shapes{
        {"hd1-0", {500, 480}},      {"hd2-7", {500, 284}},       {"hd1-door", {126, 103}},
        {"hd2-sky", {1704, 196}},   {"hd2-bar", {14, 196}},
        {"hd1-hatch", {58, 58}},    {"hd2-pillar", {179, 273}},  {"hd2-wall", {862, 358}},
        {"hd2-beam", {865, 33}},    {"hd2-gate", {532, 358}},    {"hd2-console", {401, 100}},
        {"hd2-mast", {18, 480}},    {"hd2-platform", {127, 91}}, {"hd2-window", {100, 100}},
        {"hd2-lowgate", {335, 239}}, {"hd2-basin", {626, 408}},  {"hd2-light", {40, 5}},
        {"hd-great", {92, 118}},    {"hd-sorin", {240, 40}},     {"hd-lio", {240, 40}},
        {"difang-2", {20, 20}},     {"hd-burst", {36, 36}}};
    for (const auto &shape : shapes)
        QTest::newRow(qPrintable(shape.first)) << shape.first << shape.second * 2 << shape.first.startsWith("hd-");
}

void TestGameData::picture()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, alpha);
    const QString path = gamePath(QStringLiteral("png/%1.png").arg(name));
    QVERIFY2(existsWithExactCase(path), qPrintable(QStringLiteral("missing: ") + path));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
    if (alpha)
        QVERIFY2(image.hasAlphaChannel(), qPrintable(name + QStringLiteral(" has no alpha channel")));
}

void TestGameData::galleryTile_data()
{
    QTest::addColumn<int>("illustration");
    for (int k = 1; k <= 36; ++k)
        QTest::newRow(qPrintable(QStringLiteral("cg%1").arg(k))) << k;
}

// The extras page shows cgK, or cgK-1 when the illustration has sub-images.
void TestGameData::galleryTile()
{
    QFETCH(int, illustration);
    QString found;
    for (const QString &name : {QStringLiteral("cg%1").arg(illustration), QStringLiteral("cg%1-1").arg(illustration)}) {
        if (existsWithExactCase(gamePath(QStringLiteral("png/%1.png").arg(name)))) {
            found = name;
            break;
        }
    }
    QVERIFY2(!found.isEmpty(), qPrintable(QStringLiteral("neither cg%1.png nor cg%1-1.png").arg(illustration)));
    QCOMPARE(QImageReader(gamePath(QStringLiteral("png/%1.png").arg(found))).size(), QSize(1440, 960));
}

void TestGameData::musicFile_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : music::musicFiles())
        QTest::newRow(qPrintable(file)) << file;
}

void TestGameData::musicFile()
{
    QFETCH(QString, file);
    const QString path = gamePath(file);
    QVERIFY2(existsWithExactCase(path), qPrintable(QStringLiteral("missing: ") + path));
    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QVERIFY2(in.size() > 4096, qPrintable(QStringLiteral("%1 bytes").arg(in.size())));
    const QByteArray head = in.read(3);
    // An ID3 tag or an MPEG audio frame sync.
    const bool mp3 = head == "ID3" || (quint8(head.at(0)) == 0xFF && (quint8(head.at(1)) & 0xE0) == 0xE0);
    QVERIFY2(mp3, qPrintable(file + QStringLiteral(" is not MP3 data")));
}

void TestGameData::icon()
{
    const QString path = gamePath(QStringLiteral("favicon.ico"));
    QVERIFY2(existsWithExactCase(path), qPrintable(QStringLiteral("missing: ") + path));
    QImageReader reader(path, "ico");
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QSet<int> sizes;
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("image %1: ").arg(i) + reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes.insert(image.width());
    }
    for (int size : {16, 32, 48, 256})
        QVERIFY2(sizes.contains(size), qPrintable(QStringLiteral("no %1 px image").arg(size)));
}

QTEST_MAIN(TestGameData)
#include "tst_gamedata.moc"
