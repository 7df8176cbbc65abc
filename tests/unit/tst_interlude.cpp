#include "core/interludeview.h"
#include "saves/saveslots.h"
#include "stage/interlude.h"
#include "stage/staging.h"
#include "audiofixture.h"
#include "storyfixture.h"

#include <QThread>
#include <QtTest>

#include <cmath>
#include <memory>

using Points = QList<int>;

namespace {

// Runs of steps, one character each: "i3o2" is "iiioo".
QString runs(const char *pattern)
{
    QString out;
    for (const char *c = pattern; *c;) {
        const QChar what = QLatin1Char(*c++);
        int n = 0;
        while (*c >= '0' && *c <= '9')
            n = 10 * n + (*c++ - '0');
        out += QString(n, what);
    }
    return out;
}

} // namespace

class TestInterlude : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void figures_data();
    void figures();
    void inputs_data();
    void inputs();
    void edges_data();
    void edges();
    void enemies_data();
    void enemies();
    void shots_data();
    void shots();
    void companionFire_data();
    void companionFire();
    void goal_data();
    void goal();
    void skippedMapIsWonWhole_data();
    void skippedMapIsWonWhole();
    void captures_data();
    void captures();
    void triesRunOut();
    void enemiesWaitOutsideInterlude();
    void freshSpawnRecord_data();
    void freshSpawnRecord();
    void aim_data();
    void aim();
    void modes_data();
    void modes();
    void motionListFollowsPositions();
    void keepsPaceWhenLate();
    void captureAndRetryThroughTheStory();
    void skipOffer_data();
    void skipOffer();

private:
    stage::InterludeState &in() { return stage::interlude(); }
    Game &game() { return story->game; }
    void step(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            stage::interludeStep(game());
    }
    void setEnemies(const Points &positions)
    {
        in().enemyPositions = positions;
        in().enemyHomes = positions;
        in().enemyMotion.clear();
        stage::fitEnemyMotion();
        in().enemyCount = positions.size() / 2;
    }
    // Player and companion at rest on the ground, the companion at the
    // distance it keeps, so neither drifts.
    void standAt(int playerX, int companionX)
    {
        in().sja1x = playerX;
        in().sja1y = 310;
        in().sja2x = companionX;
        in().sja2y = 310;
    }
    // The story standing on an interlude line, staged as a click would stage it.
    void standOnLine(int line)
    {
        story->at(line);
        stage::stageLine(game(), 0);
    }
    void click()
    {
        story->controller->next1();
        story->finishTyping();
    }

    std::unique_ptr<StoryFixture> story;
};

void TestInterlude::init()
{
    story = std::make_unique<StoryFixture>();
    stage::interludeTimer()->stop();
}

void TestInterlude::cleanup()
{
    stage::interludeTimer()->stop();
    story.reset();
}

void TestInterlude::figures_data()
{
    QTest::addColumn<int>("map");
    QTest::addColumn<QList<float>>("player");   // x, y, vx, vy
    QTest::addColumn<int>("companionX");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QList<float>>("expected"); // x, y, vx, vy
    QTest::addColumn<int>("expectedCompanionX"); // -1: not checked
    QTest::addColumn<int>("expectedScroll");

    QTest::newRow("at rest stays") << 1 << QList<float>{90, 310, 0, 0} << 20 << 0 << 5
                                   << QList<float>{90, 310, 0, 0} << 20 << 0;
    // 7.5, 7, 6.5, 6: the fourth step passes x 450 on screen.
    QTest::newRow("walking slows and scrolls") << 1 << QList<float>{430, 310, 8, 0} << 361 << 0 << 4
                                               << QList<float>{456, 310, 6, 0} << -1 << -6;
    QTest::newRow("no scroll outside an interlude") << 0 << QList<float>{430, 310, 8, 0} << 361 << 0 << 4
                                                    << QList<float>{456, 310, 6, 0} << -1 << 0;
    QTest::newRow("scroll ends at the first map's end") << 1 << QList<float>{1800, 310, 8, 0} << 1731 << -1278 << 1
                                                        << QList<float>{1807, 310, 7.5, 0} << -1 << -1280;
    QTest::newRow("the second map scrolls on") << 2 << QList<float>{3000, 310, 8, 0} << 2931 << -2500 << 1
                                               << QList<float>{3007, 310, 7.5, 0} << -1 << -2507;
    // trunc(-960 + 7.5) = -952
    QTest::newRow("walking left scrolls back") << 1 << QList<float>{1000, 310, -8, 0} << 1069 << -960 << 1
                                               << QList<float>{992, 310, -7.5, 0} << -1 << -952;
    QTest::newRow("sunk after a drop, pushed up") << 1 << QList<float>{90, 320, 0, 0} << 21 << 0 << 1
                                                  << QList<float>{90, 319, 0, -0.3f} << -1 << 0;
    QTest::newRow("below the ground, put back") << 1 << QList<float>{90, 325, 0, 0} << 21 << 0 << 1
                                                << QList<float>{90, 319, 0, -0.5f} << -1 << 0;
    QTest::newRow("sinking band brakes hard") << 1 << QList<float>{90, 315, 3, 0} << 21 << 0 << 1
                                              << QList<float>{91, 314, 1.8f, -0.3f} << -1 << 0;
    QTest::newRow("in the air falls") << 1 << QList<float>{90, 200, 0, -5} << 21 << 0 << 1
                                      << QList<float>{90, 195, 0, -4.5f} << -1 << 0;
    // d = 380: 1.0001^-38 * 0.01 * 311 = 3.0982, less 0.5 on the ground.
    QTest::newRow("companion follows, one step") << 1 << QList<float>{400, 310, 0, 0} << 20 << 0 << 1
                                                 << QList<float>{400, 310, 0, 0} << 22 << 0;
    QTest::newRow("companion follows, two steps") << 1 << QList<float>{400, 310, 0, 0} << 20 << 0 << 2
                                                  << QList<float>{400, 310, 0, 0} << 27 << 0;
}

void TestInterlude::figures()
{
    QFETCH(int, map);
    QFETCH(QList<float>, player);
    QFETCH(int, companionX);
    QFETCH(int, scroll);
    QFETCH(int, steps);
    QFETCH(QList<float>, expected);
    QFETCH(int, expectedCompanionX);
    QFETCH(int, expectedScroll);

    in().interludeMap = map;
    in().sja1x = int(player[0]);
    in().sja1y = int(player[1]);
    in().playerVx = player[2];
    in().playerVy = player[3];
    in().sja2x = companionX;
    in().scrollX = scroll;
    step(steps);

    QCOMPARE(in().sja1x, int(expected[0]));
    QCOMPARE(in().sja1y, int(expected[1]));
    QCOMPARE(in().playerVx + 1, expected[2] + 1); // fuzzy compare, also near 0
    QCOMPARE(in().playerVy + 1, expected[3] + 1);
    if (expectedCompanionX >= 0)
        QCOMPARE(in().sja2x, expectedCompanionX);
    QCOMPARE(in().scrollX, expectedScroll);
    QCOMPARE(story->property(prop::sjx), QVariant(expectedScroll));
    QCOMPARE(story->property(prop::sja1x), QVariant(int(expected[0])));
    QCOMPARE(story->property(prop::sja2y), QVariant(in().sja2y));
}

void TestInterlude::inputs_data()
{
    QTest::addColumn<int>("stepsRun");
    QTest::addColumn<int>("y");
    QTest::addColumn<float>("vy");
    QTest::addColumn<QString>("key");
    QTest::addColumn<float>("expectedVx");
    QTest::addColumn<float>("expectedVy");
    QTest::addColumn<int>("expectedY");

    // 267 additions of 0.03 in float: 8.010024.
    QTest::newRow("D after three seconds") << 300 << 310 << 0.0f << "D" << 8.010024f << 0.0f << 310;
    QTest::newRow("A after three seconds") << 300 << 310 << 0.0f << "A" << -8.010024f << 0.0f << 310;
    QTest::newRow("D early: once per step run") << 5 << 310 << 0.0f << "D" << 0.15f << 0.0f << 310;
    QTest::newRow("D before the first step") << 0 << 310 << 0.0f << "D" << 0.0f << 0.0f << 310;
    QTest::newRow("D in the air") << 300 << 305 << 0.0f << "D" << 0.0f << 0.0f << 305;
    QTest::newRow("W on the ground") << 300 << 310 << 0.0f << "W" << 0.0f << -12.00001f << 310;
    QTest::newRow("W at 305") << 300 << 305 << 0.0f << "W" << 0.0f << -12.00001f << 305;
    QTest::newRow("W in the air") << 300 << 304 << -3.0f << "W" << 0.0f << -3.0f << 304;
    QTest::newRow("S while standing") << 300 << 310 << -3.0f << "S" << 0.0f << 0.0f << 320;
    QTest::newRow("S in the air") << 300 << 300 << -3.0f << "S" << 0.0f << -3.0f << 300;
}

void TestInterlude::inputs()
{
    QFETCH(int, stepsRun);
    QFETCH(int, y);
    QFETCH(float, vy);
    QFETCH(QString, key);
    QFETCH(float, expectedVx);
    QFETCH(float, expectedVy);
    QFETCH(int, expectedY);

    in().stepsRun = stepsRun;
    in().sja1y = y;
    in().playerVy = vy;
    MainWindow *c = story->controller.get();
    if (key == "D")
        c->ad1(2);
    else if (key == "A")
        c->ad1(1);
    else if (key == "W")
        c->ws1(1);
    else if (key == "S")
        c->ws1(2);

    QCOMPARE(in().playerVx + 1, expectedVx + 1);
    QCOMPARE(in().playerVy + 1, expectedVy + 1);
    QCOMPARE(in().sja1y, expectedY);
    // The limits hold however long the game has run.
    QVERIFY(std::fabs(in().playerVx) <= 8.03f);
    QVERIFY(in().playerVy >= -12.1f);
}

void TestInterlude::edges_data()
{
    QTest::addColumn<int>("map");
    QTest::addColumn<int>("startX");
    QTest::addColumn<int>("ad"); // held for three seconds
    QTest::newRow("A on the first map") << 1 << 90 << 1;
    QTest::newRow("D past the first map's door") << 1 << 1500 << 2;
    QTest::newRow("D past the second map's end") << 2 << 3500 << 2;
}

// Held against a map's end, both figures stay on the map and in the view.
void TestInterlude::edges()
{
    QFETCH(int, map);
    QFETCH(int, startX);
    QFETCH(int, ad);
    const int left = stage::kEdgeMargin;
    const int right = (map == 1 ? 2000 : 4000) - 40 - stage::kEdgeMargin;
    in().interludeMap = map;
    in().scrollX = ad == 2 ? 440 - startX : 0;
    standAt(startX, startX - 69);
    in().stepsRun = 300;
    for (int i = 0; i < 300; ++i) {
        story->controller->ad1(ad);
        step();
        QVERIFY(qMin(in().sja1x, in().sja2x) >= left && qMax(in().sja1x, in().sja2x) <= right);
        QVERIFY(in().sja1x + in().scrollX >= left && in().sja1x + in().scrollX <= 680 - stage::kEdgeMargin);
    }
    QCOMPARE(in().sja1x, ad == 1 ? left : right);
}

void TestInterlude::enemies_data()
{
    QTest::addColumn<int>("playerX");
    QTest::addColumn<int>("companionX");
    QTest::addColumn<QList<float>>("enemy");    // x, y, vx, vy
    QTest::addColumn<int>("steps");
    QTest::addColumn<QList<float>>("expected"); // x, y, vx, vy

    // -14.5 rounds to -14 and -0.65 to -1; then a leap from 329 rises by 6.
    QTest::newRow("leap left from rest") << 660 << 591 << QList<float>{720, 330, 0, 0} << 1
                                         << QList<float>{706, 329, -14.5f, -0.65f};
    QTest::newRow("leap left, second step") << 660 << 591 << QList<float>{720, 330, 0, 0} << 2
                                            << QList<float>{692, 323, -14.5f, -6.3f};
    QTest::newRow("leap right: 14.5 rounds to 15") << 800 << 731 << QList<float>{720, 330, 0, 0} << 1
                                                   << QList<float>{735, 329, 14.5f, -0.65f};
    QTest::newRow("a tie counts as the companion") << 820 << 620 << QList<float>{720, 330, 0, 0} << 1
                                                   << QList<float>{706, 329, -14.5f, -0.65f};
    QTest::newRow("600 to the right of both: stays") << 90 << 21 << QList<float>{720, 330, 0, 0} << 3
                                                     << QList<float>{720, 330, 0, 0};
    QTest::newRow("landing below the ground") << 650 << 581 << QList<float>{700, 332, 0, 3} << 1
                                              << QList<float>{700, 330, 0, -0.5f};
    QTest::newRow("sliding after a landing") << 650 << 581 << QList<float>{700, 331, 4, 0} << 1
                                             << QList<float>{704, 330, 3.5f, -0.5f};
}

void TestInterlude::enemies()
{
    QFETCH(int, playerX);
    QFETCH(int, companionX);
    QFETCH(QList<float>, enemy);
    QFETCH(int, steps);
    QFETCH(QList<float>, expected);

    in().interludeMap = 1;
    standAt(playerX, companionX);
    setEnemies({int(enemy[0]), int(enemy[1])});
    in().enemyMotion = {enemy[2], enemy[3]};
    QSignalSpy list(story->controller.get(), &MainWindow::elementArrayChanged);
    step(steps);

    QCOMPARE(in().enemyPositions, (Points{int(expected[0]), int(expected[1])}));
    QCOMPARE(in().enemyMotion.at(0).toFloat() + 1, expected[2] + 1);
    QCOMPARE(in().enemyMotion.at(1).toFloat() + 1, expected[3] + 1);
    QCOMPARE(list.count(), steps);
    QCOMPARE(list.last().at(0).toString(), QStringLiteral("%1, %2").arg(int(expected[0])).arg(int(expected[1])));
    QCOMPARE(story::state().currentLine, 0); // nobody caught
}

void TestInterlude::shots_data()
{
    QTest::addColumn<int>("companionFiring");
    QTest::addColumn<int>("playerFiring");
    QTest::addColumn<float>("aimSlope");
    QTest::addColumn<Points>("enemies");
    QTest::addColumn<Points>("leftAtHome");
    QTest::addColumn<int>("playerFiringAfter");

    // Player at 669, companion at 600, both at y 310.
    QTest::newRow("companion hits above its line") << 1 << 0 << 0.0f << Points{760, 300} << Points{} << 0;
    QTest::newRow("same height as the companion: never hit") << 1 << 0 << 0.0f << Points{760, 310} << Points{760, 310} << 0;
    QTest::newRow("companion not firing yet") << 0 << 0 << 0.0f << Points{760, 300} << Points{760, 300} << 0;
    QTest::newRow("player's level shot hits") << 0 << 1 << 0.0f << Points{760, 300} << Points{} << 1;
    QTest::newRow("player's level shot passes over") << 0 << 1 << 0.0f << Points{760, 330} << Points{760, 330} << 1;
    QTest::newRow("both rays on one: only that one goes") << 1 << 1 << 0.0f << Points{760, 300, 800, 300}
                                                          << Points{800, 300} << 1;
    QTest::newRow("470 from the companion ends the player's shot") << 0 << 1 << 0.0f << Points{1070, 330, 760, 300}
                                                                   << Points{1070, 330, 760, 300} << 0;
    QTest::newRow("469 does not") << 0 << 1 << 0.0f << Points{1069, 330, 760, 300} << Points{1069, 330} << 1;
}

void TestInterlude::shots()
{
    QFETCH(int, companionFiring);
    QFETCH(int, playerFiring);
    QFETCH(float, aimSlope);
    QFETCH(Points, enemies);
    QFETCH(Points, leftAtHome);
    QFETCH(int, playerFiringAfter);

    in().interludeMap = 1;
    standAt(669, 600);
    setEnemies(enemies);
    in().companionFiring = companionFiring;
    in().playerFiring = playerFiring;
    in().aimSlope = aimSlope;
    const core::InterludeView &view = core::interludeView();
    QSignalSpy hits(&view, &core::InterludeView::enemiesHit);
    step();

    QCOMPARE(in().enemyHomes, leftAtHome);
    QCOMPARE(in().enemyCount, leftAtHome.size() / 2);
    QCOMPARE(in().enemyPositions.size(), leftAtHome.size());
    QCOMPARE(in().enemyMotion.size(), leftAtHome.size());
    QCOMPARE(in().playerFiring, playerFiringAfter);
    // One fewer to clear, and a flash where the one hit stood.
    if (leftAtHome.size() < enemies.size()) {
        QCOMPARE(view.enemiesLeft(), leftAtHome.size() / 2);
        QCOMPARE(hits.count(), 1);
        QVERIFY(!leftAtHome.contains(hits.at(0).at(0).toList().value(0).toInt()));
    }
    if (companionFiring)
        QCOMPARE(story->property(prop::fsa2visible), QVariant(1));
}

void TestInterlude::companionFire_data()
{
    QTest::addColumn<QString>("reach");  // per step: i an enemy in reach, o out of it, - none left
    QTest::addColumn<QString>("firing"); // per step: x the companion fires after it
    QTest::addColumn<bool>("clocked");  // false: steps run by hand, which take no time

    QTest::newRow("never in reach") << runs("o40") << runs(".40") << true;
    QTest::newRow("steps run by hand: no time for the fire to start")
        << runs("i60o30") << runs(".90") << false;
    QTest::newRow("stays in reach: from 150 ms until 150 ms after") << runs("i60o30") << runs(".15x60.15") << true;
    QTest::newRow("a brief visit still fires 200 ms") << runs("i3o47") << runs(".15x21.14") << true;
    QTest::newRow("back in reach after the fire stopped") << runs("i3o47i5o40")
                                                         << runs(".15x21.29x21.9") << true;
    QTest::newRow("a short gap does not break the fire") << runs("i30o10i30o40") << runs(".15x70.25") << true;
    // The page must hear of the end even with nobody left to aim at.
    QTest::newRow("the last enemy gone while firing") << runs("i20-30") << runs(".15x21.14") << true;
}

// The companion's fire keeps the interlude clock's time: 16 steps after an
// enemy comes in reach it fires, with no event loop running between the steps.
void TestInterlude::companionFire()
{
    QFETCH(QString, reach);
    QFETCH(QString, firing);
    QFETCH(bool, clocked);
    QCOMPARE(reach.size(), firing.size());

    in().interludeMap = 1;
    QString fired;
    for (const QChar c : reach) {
        // The companion at 600 keeps its distance from the player at 669. An
        // enemy at its height is never hit, and each step starts from the same place.
        standAt(669, 600);
        if (c == QLatin1Char('i'))
            setEnemies({900, 310});
        else if (c == QLatin1Char('o'))
            setEnemies({1200, 330});
        else
            setEnemies({});
        if (clocked)
            stage::clockedStep(game());
        else
            step();
        QCOMPARE(in().enemyCount, c == QLatin1Char('-') ? 0 : 1);
        fired += in().companionFiring ? QLatin1Char('x') : QLatin1Char('.');
        QCOMPARE(story->property(prop::fsa2visible), QVariant(in().companionFiring));
    }
    QCOMPARE(fired, firing);
}

void TestInterlude::goal_data()
{
    QTest::addColumn<int>("lockLine");
    QTest::addColumn<int>("playerX");
    QTest::addColumn<bool>("enemyLeft");
    QTest::addColumn<int>("goal"); // 0 still locked, 1 lifted, 2 the map won

    QTest::newRow("first map, past 1832, all gone") << 692 << 1833 << false << 2;
    QTest::newRow("first map, at 1832") << 692 << 1832 << false << 0;
    QTest::newRow("first map, an enemy left") << 692 << 1900 << true << 0;
    QTest::newRow("second map, 1381 with enemies") << 722 << 1381 << true << 1;
    QTest::newRow("second map, 1380") << 722 << 1380 << true << 0;
    QTest::newRow("second map, 3529") << 722 << 3529 << true << 1;
    QTest::newRow("second map, 3531 with an enemy") << 756 << 3531 << true << 0;
    QTest::newRow("second map, 3531, all gone") << 756 << 3531 << false << 2;
    QTest::newRow("second map's last lock, mid-map") << 756 << 2000 << true << 0;
    QTest::newRow("second map's last lock, mid-map, all gone") << 756 << 2000 << false << 0;
}

void TestInterlude::goal()
{
    QFETCH(int, lockLine);
    QFETCH(int, playerX);
    QFETCH(bool, enemyLeft);
    QFETCH(int, goal);

    standOnLine(lockLine);
    standAt(playerX, playerX - 69);
    setEnemies(enemyLeft ? Points{6000, 330} : Points{});
    step();
    QCOMPARE(in().sja1x, playerX);
    QCOMPARE(story::state().interludeActive, goal == 0);
    QCOMPARE(core::interludeView().goal(), goal);
    // The next click goes on, and the signal with the line it was for.
    click();
    QCOMPARE(story::state().currentLine, goal == 0 ? lockLine : lockLine + 1);
    QCOMPARE(core::interludeView().goal(), 0);
}

void TestInterlude::skippedMapIsWonWhole_data()
{
    QTest::addColumn<int>("lockLine");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("first map's door") << 692 << true;
    QTest::newRow("second map, on the way") << 722 << false;
    QTest::newRow("second map's gate") << 756 << true;
}

// The line after a map won tells of its last watcher falling.
void TestInterlude::skippedMapIsWonWhole()
{
    QFETCH(int, lockLine);
    QFETCH(bool, cleared);
    story->controller->interludeMode1(2);
    setEnemies({3600, 330, 3700, 330});
    standOnLine(lockLine);
    QVERIFY(!story::state().interludeActive);
    QCOMPARE(in().enemyCount, cleared ? 0 : 2);
    QCOMPARE(in().enemyPositions.size(), cleared ? 0 : 4);
}

void TestInterlude::captures_data()
{
    QTest::addColumn<bool>("companion");
    QTest::addColumn<int>("lockLine");
    QTest::addColumn<int>("tries");
    QTest::addColumn<int>("caughtBefore");
    QTest::addColumn<int>("shown");        // the line in the text box
    QTest::addColumn<int>("cursor");       // where the story stands after it
    QTest::addColumn<bool>("stepRunning");

    QTest::newRow("player, first") << false << 692 << 3 << 0 << 958 << 958 << false;
    QTest::newRow("player, again: a return line") << false << 692 << 2 << 1 << 966 << 691 << false;
    QTest::newRow("companion, first") << true << 692 << 3 << 0 << 949 << 949 << false;
    QTest::newRow("companion, again") << true << 722 << 1 << 1 << 964 << 721 << false;
    QTest::newRow("player, no tries left") << false << 692 << 0 << 1 << 938 << 938 << false;
    QTest::newRow("companion, no tries left, first map") << true << 692 << 0 << 1 << 941 << 941 << false;
    QTest::newRow("companion, no tries left, second map") << true << 756 << 0 << 1 << 973 << 973 << false;
}

// Every capture happens under the lock: the scene must show all the same.
void TestInterlude::captures()
{
    QFETCH(bool, companion);
    QFETCH(int, lockLine);
    QFETCH(int, tries);
    QFETCH(int, caughtBefore);
    QFETCH(int, shown);
    QFETCH(int, cursor);
    QFETCH(bool, stepRunning);

    MessageLog log;
    standOnLine(lockLine);
    QVERIFY(story::state().interludeActive);
    in().triesLeft = tries;
    (companion ? in().companionCaught : in().playerCaught) = caughtBefore;
    if (companion)
        standAt(669, 600);
    else
        standAt(700, 631);
    setEnemies(companion ? Points{620, 330} : Points{720, 330});
    stage::interludeTimer()->start(10);

    step();
    story->finishTyping();

    QCOMPARE(story->text(), QStringLiteral("line %1").arg(shown));
    QCOMPARE(story::state().currentLine, cursor);
    QCOMPARE(in().interludeReturnLine, lockLine);
    QCOMPARE(stage::interludeTimer()->isActive(), stepRunning);
    // A scene, not a line over the map.
    QVERIFY(!story->shown(prop::sjvisible));
    QCOMPARE(in().triesLeft, qMax(0, tries - 1));
    QCOMPARE(core::interludeView().triesLeft(), qMax(0, tries - 1));
    QCOMPARE((companion ? in().companionCaught : in().playerCaught), 1);
    QCOMPARE(log.count(companion ? "zzzzzzzzzz" : "zzzzzzzzzzz"), 1);
    if (!companion)
        QCOMPARE(log.count("zzzzzzzzzzz"), 1);
}

void TestInterlude::triesRunOut()
{
    standOnLine(692);
    QList<int> shown;
    for (int capture = 0; capture < 4; ++capture) {
        QCOMPARE(story::state().currentLine, 692);
        QVERIFY(story::state().interludeActive);
        standAt(700, 631);
        setEnemies({720, 330});
        // After a capture scene the enemy waits before it catches anyone.
        for (int i = 0; i <= stage::kEnemyWaitSteps && story::state().currentLine == 692; ++i)
            step();
        story->finishTyping();
        shown << story->text().mid(5).toInt();
        // Through the capture scene and back to the lock line.
        for (int i = 0; i < 10 && story::state().currentLine >= 948 && story::state().currentLine <= 966; ++i)
            click();
        if (story::state().currentLine == 691)
            click();
    }
    QCOMPARE(shown, (QList<int>{958, 966, 966, 938}));
    QCOMPARE(in().triesLeft, 0);
    // A new story gives three tries and a first capture again.
    story->controller->navigategame(QStringLiteral("index"));
    story->controller->navigateindex();
    QCOMPARE(in().triesLeft, 3);
    QCOMPARE(in().playerCaught, 0);
    QCOMPARE(core::interludeView().triesLeft(), 3);
}

void TestInterlude::enemiesWaitOutsideInterlude()
{
    standOnLine(762); // after the second map, enemies still listed
    QCOMPARE(in().interludeMap, 0);
    standAt(700, 631);
    setEnemies({720, 330, 680, 330});
    in().companionFiring = 1;
    in().playerFiring = 1;
    QSignalSpy list(story->controller.get(), &MainWindow::elementArrayChanged);
    step(5);
    QCOMPARE(in().enemyPositions, (Points{720, 330, 680, 330}));
    QCOMPARE(in().enemyCount, 2);
    QCOMPARE(story::state().currentLine, 762);
    // With the view hidden the list goes out once, then only when it changes.
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.last().at(0).toString(), QStringLiteral("720, 330, 680, 330"));
    in().enemyPositions[0] = 730;
    step(3);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.last().at(0).toString(), QStringLiteral("730, 330, 680, 330"));
}

void TestInterlude::freshSpawnRecord_data()
{
    QTest::addColumn<bool>("load");
    QTest::newRow("new story") << false;
    QTest::newRow("loaded save") << true;
}

void TestInterlude::freshSpawnRecord()
{
    QFETCH(bool, load);
    story->at(686);
    click();
    QCOMPARE(in().enemySpawns.size(), 20);

    story::state().mistakeCount = 0;
    if (load) {
        // Through the real load: the run must be reset before the line is staged.
        story->dir.write("saves/save.txt", "710\n");
        story->dir.write("saves/cuowu.txt", "0\n");
        QVERIFY(saves::loadSlot(game(), 1).ok);
    } else {
        story->controller->navigategame(QStringLiteral("index"));
        story->controller->navigateindex();
        story->at(709);
        click();
    }
    Points thirty;
    for (int x = 3000; x <= 4450; x += 50)
        thirty << x << 330;
    QCOMPARE(in().enemyCount, 30);
    QCOMPARE(in().enemyPositions, thirty);
    QCOMPARE(in().enemyHomes, thirty);
}

void TestInterlude::aim_data()
{
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("playerX");
    QTest::addColumn<QPointF>("pointer"); // on the page
    QTest::addColumn<float>("slope");
    QTest::addColumn<double>("angle");

    QTest::newRow("up and right") << 0 << 300 << QPointF(400, 210) << -1.0f << -0.785398;
    QTest::newRow("up and left") << 0 << 300 << QPointF(200, 210) << 1.0f << 0.785398 + 3.1415;
    // The player stands at 400 on the page; the pointer is right of it.
    QTest::newRow("after scrolling, right") << -500 << 900 << QPointF(500, 210) << -1.0f << -0.785398;
    QTest::newRow("after scrolling, left") << -500 << 900 << QPointF(300, 410) << -1.0f << -0.785398 + 3.1415;
    QTest::newRow("straight above") << -500 << 900 << QPointF(400, 100) << -10000.0f << std::atan(-10000.0);
    QTest::newRow("straight below") << -500 << 900 << QPointF(400, 400) << 10000.0f << std::atan(10000.0);
    QTest::newRow("on the player") << -500 << 900 << QPointF(400, 310) << 0.0f << 0.0;
}

void TestInterlude::aim()
{
    QFETCH(int, scroll);
    QFETCH(int, playerX);
    QFETCH(QPointF, pointer);
    QFETCH(float, slope);
    QFETCH(double, angle);

    in().stepsRun = 1;
    in().interludeMap = 1;
    in().scrollX = scroll;
    standAt(playerX, playerX - 69);
    story->controller->weizhi1(float(pointer.x()), float(pointer.y()));

    QCOMPARE(in().aimSlope + 1, slope + 1);
    const QVariant published = story->property(prop::sja1theta);
    QVERIFY(published.isValid());
    QVERIFY(std::isfinite(published.toDouble()));
    QVERIFY2(std::fabs(published.toDouble() - angle) < 1e-5, qPrintable(published.toString()));
}

void TestInterlude::modes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("enemyX");
    QTest::addColumn<int>("playerX");
    QTest::addColumn<float>("leapX");     // 0: it stays
    QTest::addColumn<float>("leapY");
    QTest::addColumn<int>("tries");       // at the start of a story
    QTest::addColumn<bool>("locked");     // at the first map's lock

    QTest::newRow("标准, 599 away") << 0 << 720 << 121 << -14.5f << -0.65f << 3 << true;
    QTest::newRow("标准, 601 away") << 0 << 720 << 119 << 0.0f << 0.0f << 3 << true;
    QTest::newRow("标准, past the map's end, 601 away") << 0 << 2300 << 1699 << 0.0f << 0.0f << 3 << true;
    QTest::newRow("轻松, 199 away") << 1 << 720 << 521 << -9.666667f << -0.65f << 5 << true;
    QTest::newRow("轻松, 201 away") << 1 << 720 << 519 << 0.0f << 0.0f << 5 << true;
    // Out of reach of a player who cannot walk off the map: it comes in.
    QTest::newRow("轻松, past the map's end") << 1 << 2300 << 1948 << -9.666667f << -0.65f << 5 << true;
    QTest::newRow("跳过, next to it") << 2 << 720 << 690 << 0.0f << 0.0f << 3 << false;
}

void TestInterlude::modes()
{
    QFETCH(int, mode);
    QFETCH(int, enemyX);
    QFETCH(int, playerX);
    QFETCH(float, leapX);
    QFETCH(float, leapY);
    QFETCH(int, tries);
    QFETCH(bool, locked);

    MainWindow *c = story->controller.get();
    c->interludeMode1(mode);
    c->navigateindex(); // a new story
    QCOMPARE(in().triesLeft, tries);
    standOnLine(692);
    QCOMPARE(story::state().interludeActive, locked);
    QCOMPARE(core::interludeView().goal(), locked ? 0 : 2);

    standAt(playerX, playerX - 200);
    setEnemies({enemyX, 330});
    step();
    QCOMPARE(in().enemyMotion.at(0).toFloat() + 1, leapX + 1);
    QCOMPARE(in().enemyMotion.at(1).toFloat() + 1, leapY + 1);
    QCOMPARE(story::state().currentLine, 692); // nobody caught

    // Changing the mode mid-story: the tries follow, a lock from now skipped lifts.
    c->interludeMode1(mode == 2 ? 1 : 2);
    QCOMPARE(in().triesLeft, mode == 2 ? 5 : 3);
    QVERIFY(!story::state().interludeActive);
}

void TestInterlude::motionListFollowsPositions()
{
    story->at(686);
    for (int line = 687; line <= 691; ++line) {
        click();
        QCOMPARE(in().enemyMotion.size(), 20);
    }
    // New enemies of the second map start at rest beside the first map's.
    story->at(709);
    in().enemyMotion[0] = 5.0f;
    click();
    QCOMPARE(in().enemyPositions.size(), 60);
    QCOMPARE(in().enemyMotion.size(), 60);
    QCOMPARE(in().enemyMotion.count(QVariant(0)), 60);
    // A hit takes both entries from both lists.
    standAt(669, 600);
    setEnemies({760, 300, 3000, 330});
    in().playerFiring = 1;
    in().aimSlope = 0;
    step();
    QCOMPARE(in().enemyPositions.size(), 2);
    QCOMPARE(in().enemyMotion.size(), 2);
}

// A machine too busy to wake the step on time must not slow the interlude.
void TestInterlude::keepsPaceWhenLate()
{
    stage::interludeTimer()->start(10);
    QTest::qWait(50);
    const qint64 before = in().stepsRun;
    QThread::msleep(60);
    QTest::qWait(5);
    QVERIFY2(in().stepsRun - before >= 5, qPrintable(QString::number(in().stepsRun - before)));

    // And never runs ahead of the clock, beyond the little it may still owe.
    QElapsedTimer clock;
    clock.start();
    const qint64 start = in().stepsRun;
    QTest::qWait(300);
    QVERIFY2(in().stepsRun - start <= clock.elapsed() / 10 + 7, qPrintable(QString::number(in().stepsRun - start)));
}

// The way a player meets it: walk into the first map's enemies under the lock,
// get caught, read the capture scene, and be back at the start of the map.
void TestInterlude::captureAndRetryThroughTheStory()
{
    story->at(686);
    click(); // 687: the first map is set up
    for (int line = 688; line <= 692; ++line)
        click();
    QCOMPARE(story->text(), QStringLiteral("line 692"));
    QVERIFY(story::state().interludeActive);
    click();
    QCOMPARE(story::state().currentLine, 692);
    QVERIFY(stage::interludeTimer()->isActive()); // the map shown runs the step
    MainWindow *c = story->controller.get();
    int steps = 0;
    for (; steps < 3000 && story::state().currentLine == 692; ++steps) {
        c->ad1(2); // D held
        stage::interludeStep(game());
    }
    story->finishTyping();
    QCOMPARE(story->text(), QStringLiteral("line 958"));
    QVERIFY(!stage::interludeTimer()->isActive());
    QVERIFY(!story->shown(prop::sjvisible));

    while (story->text() != QStringLiteral("line 962"))
        click();
    // The scene's last line is still the scene; D held through it walks nobody.
    QVERIFY(!story->shown(prop::sjvisible));
    QVERIFY(!stage::interludeTimer()->isActive());
    c->ad1(2);
    QSignalSpy attempts(&core::interludeView(), &core::InterludeView::attemptTurned);

    click();
    QCOMPARE(story->text(), QStringLiteral("line 692"));
    QVERIFY(story::state().interludeActive);
    QVERIFY(story->shown(prop::sjvisible));
    QVERIFY(story->shown(prop::ditu1visible));
    QVERIFY(stage::interludeTimer()->isActive());
    QVERIFY(attempts.count() > 0);
    QCOMPARE((Points{in().sja1x, in().sja1y, in().sja2x, in().sja2y, in().scrollX}), (Points{90, 310, 20, 310, 0}));
    QCOMPARE(in().playerVx, 0.0f);
    QCOMPARE(in().enemyPositions, in().enemyHomes);
    QCOMPARE(story->property(prop::sja1x), QVariant(90));
    QCOMPARE(in().triesLeft, 2);

    // The enemies stand still for a second, even with the player in their reach.
    standAt(200, 131);
    const Points homes = in().enemyHomes;
    QCOMPARE(core::interludeView().enemiesWaiting(), true);
    step(stage::kEnemyWaitSteps - 1);
    QCOMPARE(in().enemyPositions, homes);
    step();
    QCOMPARE(core::interludeView().enemiesWaiting(), false);
    step();
    QVERIFY(in().enemyPositions != homes);
}

void TestInterlude::skipOffer_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("标准") << 0;
    QTest::newRow("轻松") << 1;
}

// Twice caught in a map: a click takes the way past, and the map is passed as
// the skipped mode passes it, this time only.
void TestInterlude::skipOffer()
{
    QFETCH(int, mode);
    MainWindow *c = story->controller.get();
    c->interludeMode1(mode);
    c->navigateindex();
    story->at(686);
    while (story::state().currentLine < 692)
        click();
    for (int capture = 1; capture <= 2; ++capture) {
        QCOMPARE(core::interludeView().skipOffered(), false);
        standAt(700, 631);
        setEnemies({720, 330});
        in().enemyWait = 0;
        step();
        QCOMPARE(core::interludeView().caught(), 1);
        for (int i = 0; i < 10 && !stage::interludeTimer()->isActive(); ++i)
            click();
        QCOMPARE(story::state().currentLine, 692);
    }
    QCOMPARE(core::interludeView().skipOffered(), true);
    QCOMPARE(core::interludeView().caught(), 0);
    // A click still meant for the capture scene, while the enemies wait, passes nothing.
    click();
    QVERIFY(story::state().interludeActive);
    step(in().enemyWait);

    click();
    QCOMPARE(story::state().currentLine, 692);
    QVERIFY(!story::state().interludeActive);
    QCOMPARE(core::interludeView().skipTaken(), true);
    QCOMPARE(core::interludeView().goal(), 2);
    QCOMPARE(int(game().interludeMode()), mode);
    // Scenery now: D walks nobody, the enemies stand.
    const Points before{in().sja1x, in().enemyPositions.at(0)};
    c->ad1(2);
    step(20);
    QCOMPARE((Points{in().sja1x, in().enemyPositions.at(0)}), before);
    click();
    QCOMPARE(story::state().currentLine, 693);

    // The next map plays as the setting says.
    story->at(709);
    click();
    QCOMPARE(core::interludeView().skipTaken(), false);
    QCOMPARE(stage::playedMode(game()), game().interludeMode());
}

QTEST_MAIN(TestInterlude)
#include "tst_interlude.moc"
