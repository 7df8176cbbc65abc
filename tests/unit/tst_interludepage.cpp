#include "pagesupport.h"
#include "audiofixture.h"

#include "core/interludeview.h"

namespace {

bool bluish(QRgb c) { return qBlue(c) > qRed(c) + 20; }

} // namespace

// The interlude as drawn on the game page, fed as the step feeds it.
class InterludePageTest : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loadsAndSaysSo();
    void stacking();
    void maps();
    void geometry_data();
    void geometry();
    void picturesLoad();
    void mapsAreDrawn_data();
    void mapsAreDrawn();
    void enemyList_data();
    void enemyList();
    void enemyItemsAreReused();
    void glowShowsWithoutGlowEffect();
    void bothFiguresShowWhilePassing();
    void rayAtEveryScroll_data();
    void rayAtEveryScroll();
    void hintStrip();
    void captureShowsWhoIsCaught_data();
    void captureShowsWhoIsCaught();
    void pageLeavingDuringAFightSaysNothing();

private:
    void openPage();
    QList<QQuickItem *> visibleEnemies() const
    {
        QList<QQuickItem *> shown;
        for (QQuickItem *it : descendants(item("sj"))) {
            if (it->objectName() == QLatin1String("enemy") && it->isVisible())
                shown << it;
        }
        return shown;
    }
    static core::InterludeView &strip() { return core::interludeView(); }
    void showInterlude(int map)
    {
        game.publish(prop::sjvisible, 1);
        game.publish(map == 1 ? prop::ditu1visible : prop::ditu2visible, 1);
    }

    std::unique_ptr<MessageLog> log;
};

void InterludePageTest::initTestCase()
{
    Q_INIT_RESOURCE(qml);
}

void InterludePageTest::init()
{
    makeScratch();
    QVERIFY(writeEnemyPicture());
    linkInterludePictures();
    buildPage();
    wirePage(false);
    app::publishInterludeProperties(game);
    strip().reset();
    log = std::make_unique<MessageLog>();
    openPage();
}

void InterludePageTest::cleanup()
{
    tearDownPage();
    log.reset();
}

void InterludePageTest::openPage()
{
    controller->navigategame(QStringLiteral("load"));
    QVERIFY(showPage(view.get(), QStringLiteral("game")));
}

void InterludePageTest::loadsAndSaysSo()
{
    QCOMPARE(log->count(QStringLiteral("组件初始化完成")), 1);
    // Hidden until the staging shows it: the flags start as null objects.
    QVERIFY(!item("interlude")->isVisible());
    showInterlude(1);
    QVERIFY(item("interlude")->isVisible());
    QVERIFY(item("sja1")->isVisible());
    QVERIFY(!item("rayCanvas1")->isVisible());
    game.publishNull(prop::sjvisible);
    QVERIFY(!item("interlude")->isVisible());
}

void InterludePageTest::stacking()
{
    QQuickItem *interlude = item("interlude");
    QCOMPARE(interlude->z(), 0.0);
    const QList<QQuickItem *> layers = interlude->parentItem()->childItems();
    // Declared after the background and before the figures and the text.
    QVERIFY(layers.indexOf(interlude) > layers.indexOf(item("background")));
    QVERIFY(layers.indexOf(interlude) < layers.indexOf(item("figures")));
    QVERIFY(layers.indexOf(interlude) < layers.indexOf(item("textArea")));
    QStringList order;
    for (QQuickItem *child : item("sj")->childItems())
        if (!child->objectName().isEmpty() && child->objectName() != QLatin1String("enemy")
            && child->objectName() != QLatin1String("hitFlash"))
            order << child->objectName();
    QCOMPARE(order, (QStringList{"ditu1", "ditu2", "rayCanvas1", "rayCanvas2", "sja1", "sja2", "sja1Ring", "sja2Ring",
                                 "enemies"}));
}

void InterludePageTest::maps()
{
    showInterlude(2);
    game.publish(prop::sjx, -1280);
    QCOMPARE(item("sj")->x(), -1280.0);
    QQuickItem *ditu2 = item("ditu2");
    QCOMPARE(ditu2->width(), 4000.0);
    // The fourteen shapes first, then what the game adds: the sky, the drawn
    // walls, the great Watcher the story speaks of and the won door's light.
    QCOMPARE(ditu2->childItems().size(), 18);
    QQuickItem *eye = item("greatWatcherEye");
    QCOMPARE(eye->property("color").value<QColor>(), QColor("#ff2832"));
    strip().setGreatWatcher(true, core::kGreatWatcherHome);
    QVERIFY(eye->property("color").value<QColor>() != QColor("#ff2832"));
    QQuickItem *moon = ditu2->childItems().at(9);
    QCOMPARE(QRectF(moon->x(), moon->y(), moon->width(), moon->height()), QRectF(3354, -72, 100, 100));
    QCOMPARE(moon->property("radius").toReal(), 50.0);
    QVERIFY(!item("ditu1")->isVisible());
    QCOMPARE(item("ditu1Gate")->x(), 1874.0);

    game.publish(prop::sja1x, 300);
    game.publish(prop::sja1y, 310);
    QCOMPARE(item("sja1")->position(), QPointF(300, 310));
}

// Drawn as places and people, the shapes stay where and as large as they
// were, and the rays still start at the figures' centres.
void InterludePageTest::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("place");
    QTest::newRow("map 1") << "ditu1" << QRectF(0, 0, 2000, 480);
    QTest::newRow("map 1 door") << "ditu1Gate" << QRectF(1874, 255, 126, 103);
    QTest::newRow("map 1 door light") << "ditu1GateMark" << QRectF(-7, 46, 5, 20);
    QTest::newRow("map 2") << "ditu2" << QRectF(0, 0, 4000, 480);
    const QRectF shapes[] = {{894, 64, 179, 273},  {1740, 0, 862, 358}, {2602, 0, 865, 33},  {3468, 0, 532, 358},
                             {8, 237, 401, 100},   {423, 237, 401, 100}, {848, 0, 18, 480},   {1147, 64, 179, 273},
                             {1379, 246, 127, 91}, {3354, -72, 100, 100}, {3665, 241, 335, 239}, {3149, 358, 626, 408},
                             {3539, 358, 40, 5},   {3594, 358, 40, 5}};
    for (int i = 0; i < 14; ++i)
        QTest::newRow(qPrintable(QStringLiteral("map 2 shape %1").arg(i + 1)))
            << QStringLiteral("ditu2Shape%1").arg(i + 1) << shapes[i];
    QTest::newRow("player") << "sja1" << QRectF(300, 310, 40, 40);
    QTest::newRow("companion") << "sja2" << QRectF(231, 296, 40, 40);
    // Rays: start x and y, then the angle and the length.
    QTest::newRow("player's ray") << "rayCanvas1" << QRectF(320, 330, 0.5, 600);
    QTest::newRow("companion's ray") << "rayCanvas2" << QRectF(251, 316, 3.1415, 600);
}

void InterludePageTest::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRectF, place);
    showInterlude(1);
    game.publish(prop::ditu2visible, 1);
    game.publish(prop::sja1x, 300);
    game.publish(prop::sja1y, 310);
    game.publish(prop::sja2x, 231);
    game.publish(prop::sja2y, 296);
    game.publish(prop::sja1theta, 0.5);
    game.publish(prop::sja2theta, 3.1415);
    game.publish(prop::fsa1visible, 1);
    game.publish(prop::fsa2visible, 1);
    QQuickItem *it = item(name.toLatin1().constData());
    if (name.startsWith(QLatin1String("rayCanvas"))) {
        QCOMPARE(QRectF(it->property("startX").toReal(), it->property("startY").toReal(),
                        it->property("angle").toReal(), it->property("length").toReal()),
                 place);
        QVERIFY(it->isVisible());
    } else {
        QCOMPARE(QRectF(it->x(), it->y(), it->width(), it->height()), place);
    }
}

// Every picture the interlude asks for is one the generator drew.
void InterludePageTest::picturesLoad()
{
    for (int map = 1; map <= 2; ++map) {
        showInterlude(map);
        emit controller->elementArrayChanged(QStringLiteral("720, 330, 870, 300"));
        int pictures = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                pictures = 0;
                for (QQuickItem *it : descendants(item("interlude"))) {
                    if (!it->isVisible() || !it->property("source").toUrl().isValid())
                        continue;
                    ++pictures;
                    if (it->property("status").toInt() != 1) // Image.Ready
                        return false;
                }
                return true;
            }(),
            5000);
        QVERIFY2(pictures >= 10, qPrintable(QString::number(pictures)));
        game.publish(map == 1 ? prop::ditu1visible : prop::ditu2visible, 0);
    }
}

void InterludePageTest::mapsAreDrawn_data()
{
    QTest::addColumn<int>("map");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("sky");
    QTest::newRow("passage wall") << 1 << 0 << QPoint(360, 200) << false;
    QTest::newRow("passage at its door") << 1 << -1280 << QPoint(200, 200) << false;
    QTest::newRow("bridge wall") << 2 << 0 << QPoint(100, 280) << false;
    QTest::newRow("bridge sky") << 2 << 0 << QPoint(100, 100) << true;
    QTest::newRow("bridge sky, scrolled") << 2 << -3280 << QPoint(100, 100) << true;
}

// Over every map the pictures show, not the flat fill under them.
void InterludePageTest::mapsAreDrawn()
{
    QFETCH(int, map);
    QFETCH(int, scroll);
    QFETCH(QPoint, at);
    QFETCH(bool, sky);
    showInterlude(map);
    game.publish(prop::sjx, scroll);
    game.publish(prop::sja1y, 600);
    game.publish(prop::sja2y, 600);
    QImage image;
    QTRY_VERIFY_WITH_TIMEOUT((image = grab(), image.pixel(at) != QColor("#c2c2c2").rgb()), 5000);
    if (sky)
        QVERIFY2(bluish(image.pixel(at)) && qGray(image.pixel(at)) < 90, qPrintable(QString::number(image.pixel(at), 16)));
}

void InterludePageTest::enemyList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("two enemies") << "720, 330, 870, 330" << QList<QPoint>{{720, 330}, {870, 330}} << QStringList();
    QTest::newRow("none: silently") << "" << QList<QPoint>() << QStringList();
    QTest::newRow("odd count") << "720, 330, 870" << QList<QPoint>{{720, 330}}
                               << QStringList{"Incomplete coordinate pair at the end of array"};
    QTest::newRow("garbage") << "720, abc, 870, 330" << QList<QPoint>{{720, 870}}
                             << QStringList{"无法转换为数字:", "Incomplete coordinate pair at the end of array"};
}

void InterludePageTest::enemyList()
{
    QFETCH(QString, text);
    QFETCH(QList<QPoint>, points);
    QFETCH(QStringList, warnings);

    showInterlude(1);
    emit controller->elementArrayChanged(QStringLiteral("1, 2, 3, 4, 5, 6"));
    log->messages.clear();
    emit controller->elementArrayChanged(text);

    QList<QPoint> drawn;
    for (QQuickItem *enemy : visibleEnemies())
        drawn << enemy->position().toPoint();
    QCOMPARE(drawn, points);
    QCOMPARE(item("interlude")->property("blockCount").toInt(), points.size());
    for (const QString &w : warnings)
        QCOMPARE(log->count(w), 1);
    QCOMPARE(log->count(QStringLiteral("receivedString is not valid")), 0);
    QCOMPARE(log->messages.size(), warnings.size());
}

void InterludePageTest::enemyItemsAreReused()
{
    showInterlude(2);
    QQuickItem *interlude = item("interlude");
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << QString::number(3000 + 50 * i) << QStringLiteral("330");
    emit controller->elementArrayChanged(thirty.join(QStringLiteral(", ")));
    const int created = interlude->property("enemyItemsCreated").toInt();
    QVERIFY(created >= 30);
    QCOMPARE(visibleEnemies().size(), 30);

    for (int step = 1; step <= 50; ++step) {
        QStringList moved;
        for (int i = 0; i < 30; ++i)
            moved << QString::number(3000 + 50 * i - step) << QString::number(330 - step % 7);
        emit controller->elementArrayChanged(moved.join(QStringLiteral(", ")));
    }
    QCOMPARE(visibleEnemies().first()->position(), QPointF(2950, 329));
    // One enemy fewer: still nothing made or thrown away.
    emit controller->elementArrayChanged(thirty.mid(2).join(QStringLiteral(", ")));
    QCOMPARE(visibleEnemies().size(), 29);
    QCOMPARE(interlude->property("enemyItemsCreated").toInt(), created);
    QCOMPARE(interlude->property("enemyItemsDestroyed").toInt(), 0);
}

// Qt Quick's software renderer draws no Glow: the halo must be there anyway.
void InterludePageTest::glowShowsWithoutGlowEffect()
{
    showInterlude(1);
    game.publish(prop::sja1x, 100);
    game.publish(prop::sja1y, 100);
    game.publish(prop::sja2x, 300);
    game.publish(prop::sja2y, 100);
    QTest::qWait(50);
    const QImage image = grab();
    QVERIFY(!image.isNull());
    // Just outside each figure's box: tinted by the halo, not the map alone.
    game.publish(prop::sja1y, 400);
    game.publish(prop::sja2y, 400);
    QTest::qWait(50);
    const QImage bare = grab();
    auto bluer = [](QRgb c) { return qBlue(c) - qRed(c); };
    auto redder = [](QRgb c) { return qRed(c) - qGreen(c); };
    const QRgb playerHalo = image.pixel(120, 97);
    QVERIFY2(bluer(playerHalo) > bluer(bare.pixel(120, 97)) + 20, qPrintable(QString::number(playerHalo, 16)));
    const QRgb companionHalo = image.pixel(320, 97);
    QVERIFY2(redder(companionHalo) > redder(bare.pixel(320, 97)) + 20, qPrintable(QString::number(companionHalo, 16)));
}

// The companion runs past the player (at up to 25 pixels a step) and the
// player walks back through the companion: in every frame each circle shows.
void InterludePageTest::bothFiguresShowWhilePassing()
{
    showInterlude(1);
    // Pixels of a tint around a circle's place.
    auto count = [](const QImage &image, int left, bool companion) {
        int n = 0;
        for (int y = 300; y < 360; ++y)
            for (int x = qMax(0, left - 10); x < qMin(720, left + 50); ++x) {
                const QRgb c = image.pixel(x, y);
                n += companion ? qRed(c) > 200 && qGreen(c) < 100 && qBlue(c) > 200
                               : qBlue(c) > 200 && qRed(c) < 120 && qGreen(c) < 150;
            }
        return n;
    };
    game.publish(prop::sja1y, 310);
    game.publish(prop::sja2y, 310);
    for (int frame = 0; frame < 30; ++frame) {
        game.publish(prop::sja1x, 300 - frame);
        game.publish(prop::sja2x, 180 + 9 * frame);
        QTest::qWait(16);
        const QImage image = grab();
        QVERIFY2(count(image, 300 - frame, false) > 40, qPrintable(QString::number(frame)));
        QVERIFY2(count(image, 180 + 9 * frame, true) > 40, qPrintable(QString::number(frame)));
    }
}

void InterludePageTest::rayAtEveryScroll_data()
{
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("playerX");
    QTest::newRow("start of the map") << 0 << 200;
    QTest::newRow("past x 800") << -1000 << 1300;
    QTest::newRow("end of the second map") << -3280 << 3700;
}

void InterludePageTest::rayAtEveryScroll()
{
    QFETCH(int, scroll);
    QFETCH(int, playerX);
    showInterlude(2);
    game.publish(prop::sjx, scroll);
    game.publish(prop::sja1x, playerX);
    game.publish(prop::sja1y, 200);
    game.publish(prop::sja1theta, 0.0);
    game.publish(prop::fsa1visible, 1);
    QTest::qWait(50);
    const QImage image = grab();
    QVERIFY(!image.isNull());
    // 120 pixels along the ray, to the right of the player's centre.
    const int x = playerX + scroll + 20 + 120;
    bool seen = false;
    for (int y = 218; y <= 222; ++y)
        seen = seen || bluish(image.pixel(x, y));
    QVERIFY(seen);
    QVERIFY(!bluish(image.pixel(x, 240)));
}

void InterludePageTest::hintStrip()
{
    showInterlude(1);
    QQuickItem *hint = item("interludeHint");
    QVERIFY(hint->isVisible());
    const QString text = item("interludeHintText")->property("text").toString();
    for (const char *key : {"A", "D", "W", "S", "E", "鼠标"})
        QVERIFY2(text.contains(QString::fromUtf8(key)), key);
    strip().setTriesLeft(2);
    strip().setEnemiesLeft(17);
    QCOMPARE(item("interludeTries")->property("text").toString(), QStringLiteral("守夜者 剩余 17　剩余机会 2"));

    // The goal: the strip says so; a map won lights its door.
    strip().setGoal(1);
    QCOMPARE(item("interludeHintText")->property("text").toString(), QStringLiteral("目标达成——点击继续"));
    QVERIFY(!item("ditu1GateLight")->isVisible());
    strip().setGoal(2);
    QVERIFY(item("ditu1GateLight")->isVisible());

    // Twice caught: the strip offers a way past; taken, it says the map is passed.
    strip().setGoal(0);
    QVERIFY(!item("interludeSkipOffer")->isVisible());
    strip().setSkip(true, false);
    strip().setEnemiesWaiting(true);
    QVERIFY(!item("interludeSkipOffer")->isVisible());
    strip().setEnemiesWaiting(false);
    QVERIFY(item("interludeSkipOffer")->isVisible());
    strip().setSkip(false, true);
    QVERIFY(!item("interludeSkipOffer")->isVisible());
    QCOMPARE(item("interludeHintText")->property("text").toString(), QStringLiteral("互动已跳过——点击继续"));
    strip().setSkip(false, false);

    // After a capture scene the enemies wait, and the view says so.
    strip().setEnemiesWaiting(true);
    QVERIFY(item("readyMark")->isVisible());

    // A hit flashes where the enemy was.
    strip().hitEnemies(QVariantList{300, 330});
    QCOMPARE(item("hitFlash")->position(), QPointF(292, 322));
    QVERIFY(item("hitFlash")->isVisible());

    game.publishNull(prop::sjvisible);
    QVERIFY(!hint->isVisible());
}

// Leaving for 设置 or 读取 in the middle of a fight: the page on its way out
// still hears of hits after its flashes are gone, and must not fail on them.
void InterludePageTest::captureShowsWhoIsCaught_data()
{
    QTest::addColumn<int>("who");
    QTest::newRow("player") << 1;
    QTest::newRow("companion") << 2;
}

// A capture marks the caught figure, on its map, for a moment before the scene.
void InterludePageTest::captureShowsWhoIsCaught()
{
    QFETCH(int, who);
    showInterlude(2);
    strip().setCaught(who);
    // The staging hides the map for the scene at once: the caught figure stays in view.
    game.publish(prop::sjvisible, 0);
    game.publish(prop::ditu2visible, 0);
    QVERIFY(item("ditu2")->isVisible());
    QCOMPARE(item("sja1Caught")->isVisible(), who == 1);
    QCOMPARE(item("sja2Caught")->isVisible(), who == 2);
    QTRY_VERIFY(!item("interlude")->isVisible());
    QVERIFY(!item(who == 1 ? "sja1Caught" : "sja2Caught")->isVisible());
}

void InterludePageTest::pageLeavingDuringAFightSaysNothing()
{
    showInterlude(2);
    QObject *flashes = nullptr;
    for (QObject *o : view->rootObject()->findChildren<QObject *>()) {
        if (qstrcmp(o->metaObject()->className(), "QQuickRepeater") == 0 && o->property("model").toInt() == 6)
            flashes = o;
    }
    QVERIFY(flashes);
    strip().hitEnemies(QVariantList{300, 330});
    flashes->setProperty("model", 0);
    strip().hitEnemies(QVariantList{301, 330});
    flashes->setProperty("model", 6);
    strip().hitEnemies(QVariantList{302, 330});
    QCOMPARE(log->count(QStringLiteral("TypeError")), 0);
}

QTEST_MAIN(InterludePageTest)
#include "tst_interludepage.moc"
