#include "extras/unlockrecord.h"
#include "music/music.h"
#include "audiofixture.h"
#include "pagesupport.h"

#include <QQmlContext>
#include <QQmlEngine>

#include <functional>

namespace {

// Illustrations with sub-images, as the story names them, and how many each
// has here; every other one is a single picture cgK.
const QMap<int, int> kSubImages = {{1, 3}, {7, 2}, {9, 2}, {13, 2}, {14, 2}, {17, 7},
                                   {18, 2}, {19, 4}, {28, 2}, {30, 3}, {32, 3}, {33, 2}};

void writePicture(const QString &name, int shade)
{
    QImage image(72, 48, QImage::Format_RGB32);
    image.fill(QColor(shade % 256, (shade * 7) % 256, (shade * 13) % 256));
    QVERIFY(image.save(QStringLiteral("png/%1.png").arg(name)));
}

QString fileName(const QVariant &url)
{
    return QFileInfo(url.toUrl().toLocalFile()).completeBaseName();
}

} // namespace

// The extras page from the resources, offscreen, with a real controller wired
// as start-up wires it, over probe pictures in a scratch game directory.
class TestExtraPage : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void tiles_data();
    void tiles();
    void tilesLoadOffTheGuiThreadAtTileSize();
    void fallbackResetsOnPageChange();
    void fullViewWalk_data();
    void fullViewWalk();
    void lockedTileOpensNothing();
    void pageButtons();
    void back();
    void musicBox();

private:
    void open(const QByteArray &record);
    QQuickItem *item(const QString &name) const;
    QPoint centreOf(const QString &name) const
    {
        QQuickItem *i = item(name);
        return i->mapToScene(QPointF(i->width() / 2, i->height() / 2)).toPoint();
    }
    void click(const QString &name) { QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, centreOf(name)); }
    QQuickItem *tilePicture(int index) const;
    int tileCount() const;
    QString labelOf(const QString &name) const
    {
        QObject *content = item(name)->property("contentItem").value<QObject *>();
        return content->property("text").toString();
    }
    QColor labelColour(const QString &name) const
    {
        QObject *content = item(name)->property("contentItem").value<QObject *>();
        return content->property("color").value<QColor>();
    }

    std::unique_ptr<music::Player> player;
};

void TestExtraPage::initTestCase()
{
    Q_INIT_RESOURCE(qml);
}

void TestExtraPage::init()
{
    makeScratch();
    QDir().mkpath(QStringLiteral("mp3"));
    for (int k = 1; k <= 36; ++k) {
        const int subs = kSubImages.value(k, 0);
        if (subs == 0)
            writePicture(QStringLiteral("cg%1").arg(k), k);
        for (int s = 1; s <= subs; ++s)
            writePicture(QStringLiteral("cg%1-%2").arg(k).arg(s), 40 * k + s);
    }
    writePicture(QStringLiteral("b"), 200);
    for (const QString &file : music::musicFiles())
        scratch->write(file, shortMp3());

    PageStart start;
    start.settings = false;
    start.freshState = true;
    buildPage(start);
    player = std::make_unique<music::Player>();
    game.musicPlayer = player.get();
    wirePage(true);
}

void TestExtraPage::cleanup()
{
    view.reset();
    controller.reset();
    player.reset();
    tearDownPage();
}

// As "鉴赏" does: the page comes first, then the record it shows.
void TestExtraPage::open(const QByteArray &record)
{
    if (!record.isEmpty())
        scratch->write("saves/extra.txt", record);
    QVERIFY(showPage(view.get(), QStringLiteral("extra")));
    controller->navigateextra();
    QCOMPARE(controller->getCurrentPage(), QStringLiteral("extra"));
}

QQuickItem *TestExtraPage::item(const QString &name) const
{
    for (QQuickItem *i : descendants(view->rootObject())) {
        if (i->objectName() == name)
            return i;
    }
    return nullptr;
}

QQuickItem *TestExtraPage::tilePicture(int index) const
{
    QQuickItem *tile = item(QStringLiteral("tile%1").arg(index));
    if (!tile)
        return nullptr;
    for (QQuickItem *child : tile->childItems()) {
        if (child->objectName() == QLatin1String("tilePicture"))
            return child;
    }
    return nullptr;
}

int TestExtraPage::tileCount() const
{
    static const QRegularExpression tileName(QStringLiteral("^tile\\d+$"));
    int n = 0;
    for (QQuickItem *i : descendants(view->rootObject()))
        n += tileName.match(i->objectName()).hasMatch() ? 1 : 0;
    return n;
}

void TestExtraPage::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("geometry"); // in page coordinates
    QTest::addColumn<QString>("label");

    QTest::newRow("title") << "pageTitle" << QRectF(499, 22, -1, -1) << "CG一览";
    QTest::newRow("back") << "backButton" << QRectF(30, 33, 96, 45) << "";
    QTest::newRow("back label") << "backLabel" << QRectF(58, 43, -1, -1) << "返回";
    QTest::newRow("panel") << "panel" << QRectF(10, 10, 700, 460) << "";
    QTest::newRow("background") << "pageBackground" << QRectF(0, 0, 720, 480) << "";
    QTest::newRow("music box") << "musicBox" << QRectF(157, 26, 315, 52) << "";
    QTest::newRow("previous track") << "previousTrack" << QRectF(174, 42, 21, 20) << "<";
    QTest::newRow("pause") << "pauseMusic" << QRectF(199.5, 42, 20, 20) << "||";
    QTest::newRow("play") << "playMusic" << QRectF(228, 42, 21, 20) << "▷";
    QTest::newRow("next track") << "nextTrack" << QRectF(255.5, 43, 20, 20) << ">";
    QTest::newRow("track title") << "trackTitle" << QRectF(290, 34, 174, 36) << "宇宙";
    QTest::newRow("page 1") << "pageButton1" << QRectF(118, 440, 20, 20) << "1";
    QTest::newRow("page 2") << "pageButton2" << QRectF(143, 440, 20, 20) << "2";
    QTest::newRow("page 3") << "pageButton3" << QRectF(168, 440, 20, 20) << "3";
    QTest::newRow("first tile") << "tile0" << QRectF(105, 120, 120, 72) << "";
    QTest::newRow("fourth tile") << "tile3" << QRectF(495, 120, 120, 72) << "";
    QTest::newRow("fifth tile") << "tile4" << QRectF(105, 200, 120, 72) << "";
    QTest::newRow("last tile") << "tile15" << QRectF(495, 360, 120, 72) << "";
    QTest::newRow("full view") << "fullView" << QRectF(0, -1, 720, 480) << "";
}

void TestExtraPage::layout()
{
    QFETCH(QString, name);
    QFETCH(QRectF, geometry);
    QFETCH(QString, label);

    open("36");
    QQuickItem *i = item(name);
    QVERIFY2(i, qPrintable(name));
    const QPointF at = i->mapToItem(view->rootObject(), QPointF(0, 0));
    // Anchoring rounds an odd-sized item's edge to a whole pixel.
    QVERIFY2(qAbs(at.x() - geometry.x()) <= 0.5 && qAbs(at.y() - geometry.y()) <= 0.5,
             qPrintable(QStringLiteral("at %1,%2").arg(at.x()).arg(at.y())));
    if (geometry.width() >= 0) {
        QCOMPARE(i->width(), geometry.width());
        QCOMPARE(i->height(), geometry.height());
    }
    if (!label.isEmpty()) {
        // A button's label is what its content item draws.
        const bool button = i->property("contentItem").value<QObject *>() != nullptr;
        const QString text = button ? labelOf(name) : i->property("text").toString();
        QCOMPARE(text, label);
    }
}

void TestExtraPage::tiles_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("galleryPage");
    QTest::addColumn<QStringList>("pictures"); // what the tiles show, in order; the rest show nothing

    const QStringList none;
    QStringList page1All, page2All;
    for (int k = 1; k <= 16; ++k)
        page1All << (kSubImages.contains(k) ? QStringLiteral("cg%1-1").arg(k) : QStringLiteral("cg%1").arg(k));
    for (int k = 17; k <= 32; ++k)
        page2All << (kSubImages.contains(k) ? QStringLiteral("cg%1-1").arg(k) : QStringLiteral("cg%1").arg(k));

    QTest::newRow("no record, page 1") << QByteArray() << 0 << none;
    QTest::newRow("0, page 1") << QByteArray("0") << 0 << none;
    QTest::newRow("0, page 3") << QByteArray("0") << 2 << none;
    QTest::newRow("1.2, page 1") << QByteArray("1.2") << 0 << QStringList{"cg1-1"};
    QTest::newRow("1.2, page 2") << QByteArray("1.2") << 1 << none;
    QTest::newRow("3, page 1") << QByteArray("3") << 0 << QStringList{"cg1-1", "cg2", "cg3"};
    QTest::newRow("17.6, page 1") << QByteArray("17.6") << 0 << page1All;
    QTest::newRow("17.6, page 2") << QByteArray("17.6") << 1 << QStringList{"cg17-1"};
    QTest::newRow("17.6, page 3") << QByteArray("17.6") << 2 << none;
    QTest::newRow("36, page 1") << QByteArray("36") << 0 << page1All;
    QTest::newRow("36, page 2") << QByteArray("36") << 1 << page2All;
    QTest::newRow("36, page 3") << QByteArray("36") << 2 << QStringList{"cg33-1", "cg34", "cg35", "cg36"};
    QTest::newRow("damaged record") << QByteArray("1e30") << 0 << none;
}

void TestExtraPage::tiles()
{
    QFETCH(QByteArray, record);
    QFETCH(int, galleryPage);
    QFETCH(QStringList, pictures);

    open(record);
    click(QStringLiteral("pageButton%1").arg(galleryPage + 1));
    const int count = galleryPage < 2 ? 16 : 4;
    QTRY_COMPARE(tileCount(), count);
    for (int i = 0; i < count; ++i) {
        QQuickItem *picture = tilePicture(i);
        QVERIFY(picture);
        QQuickItem *tile = picture->parentItem();
        // The frame shows whether the tile is unlocked or not.
        QCOMPARE(tile->property("border").value<QObject *>()->property("width").toReal(), 1.0);
        QCOMPARE(tile->property("border").value<QObject *>()->property("color").value<QColor>(), QColor("#6496fa"));
        if (i < pictures.size()) {
            QVERIFY2(picture->isVisible(), qPrintable(pictures.at(i)));
            QTRY_COMPARE(picture->property("status").toInt(), 1); // Image.Ready
            QCOMPARE(fileName(picture->property("source")), pictures.at(i));
        } else {
            QVERIFY2(!picture->isVisible(), qPrintable(QString::number(i)));
        }
    }
}

// 36 full-size pictures decoded on the GUI thread at full size would hold up
// the page's first frame.
void TestExtraPage::tilesLoadOffTheGuiThreadAtTileSize()
{
    open("36");
    QQuickItem *picture = tilePicture(1);
    QVERIFY(picture->property("asynchronous").toBool());
    QCOMPARE(picture->property("sourceSize").toSizeF(), QSizeF(120, 72));
}

// The tile goes back to cgK when the page changes, rather than keeping the
// fallback of the illustration it showed before.
void TestExtraPage::fallbackResetsOnPageChange()
{
    open("36");
    QQuickItem *picture = tilePicture(6);
    QTRY_COMPARE(fileName(picture->property("source")), QStringLiteral("cg7-1"));
    click(QStringLiteral("pageButton2"));
    QTRY_COMPARE(picture->property("status").toInt(), 1);
    QCOMPARE(fileName(picture->property("source")), QStringLiteral("cg23"));
    click(QStringLiteral("pageButton1"));
    QTRY_COMPARE(fileName(picture->property("source")), QStringLiteral("cg7-1"));
}

void TestExtraPage::fullViewWalk_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("galleryPage");
    QTest::addColumn<int>("tile");
    QTest::addColumn<QStringList>("walk"); // pictures shown, click by click, before it closes

    QTest::newRow("1.2: up to the sub-image reached") << QByteArray("1.2") << 0 << 0 << QStringList{"cg1-1", "cg1-2"};
    QTest::newRow("3: all of an earlier one, until missing") << QByteArray("3") << 0 << 0
                                                             << QStringList{"cg1-1", "cg1-2", "cg1-3"};
    QTest::newRow("3: an earlier single picture") << QByteArray("3") << 0 << 1 << QStringList{"cg2"};
    QTest::newRow("3: the one in progress") << QByteArray("3") << 0 << 2 << QStringList{"cg3"};
    QTest::newRow("17.6: not past the sixth though a seventh exists")
        << QByteArray("17.6") << 1 << 0 << QStringList{"cg17-1", "cg17-2", "cg17-3", "cg17-4", "cg17-5", "cg17-6"};
    QTest::newRow("32.3: up to 3 with no 32.2") << QByteArray("32.3") << 1 << 15
                                               << QStringList{"cg32-1", "cg32-2", "cg32-3"};
    QTest::newRow("36: page 3") << QByteArray("36") << 2 << 0 << QStringList{"cg33-1", "cg33-2"};
}

void TestExtraPage::fullViewWalk()
{
    QFETCH(QByteArray, record);
    QFETCH(int, galleryPage);
    QFETCH(int, tile);
    QFETCH(QStringList, walk);

    MessageLog log;
    open(record);
    click(QStringLiteral("pageButton%1").arg(galleryPage + 1));
    QQuickItem *full = item(QStringLiteral("fullView"));
    QQuickItem *picture = tilePicture(tile);
    QTRY_COMPARE(picture->property("status").toInt(), 1);
    // Twice: a closed view starts again from the second sub-image.
    for (int round = 0; round < 2; ++round) {
        QVERIFY(!full->isVisible());
        click(QStringLiteral("tile%1").arg(tile));
        for (const QString &shown : walk) {
            QVERIFY2(full->isVisible(), qPrintable(shown));
            QCOMPARE(fileName(full->property("source")), shown);
            QCOMPARE(full->property("status").toInt(), 1);
            click(QStringLiteral("fullView"));
        }
        QVERIFY(!full->isVisible());
        QCOMPARE(view->rootObject()->property("imgp").toInt(), 2);
    }
    // Only pictures that are there are asked for.
    QCOMPARE(log.count("Cannot open"), 0);
}

void TestExtraPage::lockedTileOpensNothing()
{
    open("1.2");
    // Locked tiles say so; reached ones show their picture instead.
    QVERIFY(!item("tile0")->childItems().isEmpty());
    for (int i : {0, 1}) {
        QQuickItem *lock = nullptr;
        for (QQuickItem *child : item(QStringLiteral("tile%1").arg(i))->childItems())
            lock = child->objectName() == "tileLock" ? child : lock;
        QVERIFY(lock);
        QCOMPARE(lock->isVisible(), i == 1);
    }
    click(QStringLiteral("tile1"));
    QVERIFY(!item(QStringLiteral("fullView"))->isVisible());
    click(QStringLiteral("pageButton2"));
    click(QStringLiteral("tile0"));
    QVERIFY(!item(QStringLiteral("fullView"))->isVisible());
}

void TestExtraPage::pageButtons()
{
    open("36");
    const QColor accent("#6496fa");
    const QColor white("#ffffff");
    for (int shown : {1, 2, 3, 1}) {
        click(QStringLiteral("pageButton%1").arg(shown));
        QCOMPARE(view->rootObject()->property("extrap").toInt(), shown - 1);
        QTRY_COMPARE(tileCount(), shown == 3 ? 4 : 16);
        for (int b = 1; b <= 3; ++b)
            QCOMPARE(labelColour(QStringLiteral("pageButton%1").arg(b)), b == shown ? accent : white);
        QTRY_COMPARE(tilePicture(0)->property("status").toInt(), 1);
        QCOMPARE(fileName(tilePicture(0)->property("source")),
                 QStringList({"cg1-1", "cg17-1", "cg33-1"}).at(shown - 1));
    }
}

void TestExtraPage::back()
{
    open("3");
    QSignalSpy toindex(controller.get(), &MainWindow::toindex);
    click(QStringLiteral("backButton"));
    QCOMPARE(controller->getCurrentPage(), QStringLiteral("index"));
    QCOMPARE(toindex.count(), 1);
}

void TestExtraPage::musicBox()
{
    open("3");
    auto title = [this] { return item(QStringLiteral("trackTitle"))->property("text").toString(); };
    auto playing = [this] { return QFileInfo(player->media().toLocalFile()).fileName(); };
    QCOMPARE(title(), QStringLiteral("宇宙"));

    // The run starts on entry 1 although the title track is entry 0.
    click(QStringLiteral("nextTrack"));
    QCOMPARE(title(), QStringLiteral("一起玩"));
    QCOMPARE(playing(), QStringLiteral("Playing_Together_With_You.mp3"));

    QStringList titles;
    for (int i = 0; i < 8; ++i) {
        click(QStringLiteral("previousTrack"));
        titles << title();
    }
    QCOMPARE(titles, QStringList({"回忆", "宇宙", "群星永不忘记", "再见", "文明", "历险", "游世界", "一起玩"}));
    QCOMPARE(playing(), QStringLiteral("Playing_Together_With_You.mp3"));
    titles.clear();
    for (int i = 0; i < 8; ++i) {
        click(QStringLiteral("nextTrack"));
        titles << title();
    }
    QCOMPARE(titles, QStringList({"游世界", "历险", "文明", "再见", "群星永不忘记", "宇宙", "回忆", "一起玩"}));
    QCOMPARE(playing(), QStringLiteral("Playing_Together_With_You.mp3"));

    QTRY_VERIFY(player->state() == music::Player::PlayingState || player->mediaStatus() == music::Player::EndOfMedia);
    const auto state = [this] { return item(QStringLiteral("musicState"))->property("text").toString(); };
    QCOMPARE(state(), QStringLiteral("播放中"));
    click(QStringLiteral("pauseMusic"));
    QVERIFY(music::music().musicStopped);
    // Held where it was (or, had it just ended, left ended).
    QVERIFY(player->state() != music::Player::PlayingState);
    QCOMPARE(state(), QStringLiteral("已暂停"));
    QSignalSpy states(player.get(), &music::Player::stateChanged);
    click(QStringLiteral("playMusic"));
    QVERIFY(!music::music().musicStopped);
    QTRY_VERIFY(!states.isEmpty());
    QCOMPARE(states.first().first().value<music::Player::State>(), music::Player::PlayingState);
    QCOMPARE(playing(), QStringLiteral("Playing_Together_With_You.mp3"));
    QCOMPARE(state(), QStringLiteral("播放中"));
}

QTEST_MAIN(TestExtraPage)
#include "tst_extrapage.moc"
