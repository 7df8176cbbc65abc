#include "stage/interlude.h"

#include "core/interludeview.h"
#include "core/log.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "stage/stagetable.h"

#include <QTimer>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace stage {

int mapWidth(int map)
{
    return map == 1 ? 2000 : map == 2 ? 4000 : 0;
}

namespace {

// The half turn the game has always used for a figure facing left.
constexpr double kHalfTurn = 3.1415;
// A pointer straight above or below the player: steep, but a number.
constexpr float kSteepSlope = 10000.0f;

// Velocities are floats; each change is worked out in double and stored back.
float plus(float v, double d) { return float(double(v) + d); }
float times(float v, double f) { return float(double(v) * f); }
// Figures move by the float sum, truncated towards zero.
int moved(int position, float v) { return int(float(position) + v); }
// Enemies move by the variant's rounding: 14.5 gives 15, -14.5 gives -14.
int rounded(float v) { return QVariant(v).toInt(); }
bool within(int v, int low, int high) { return v >= low && v <= high; }

enum class Caught { Nobody, Player, Companion };

// An enemy's picture is this wide.
constexpr int kEnemySize = 20;

void showGoal(int goal)
{
    InterludeState &in = interlude();
    if (in.goalShown == goal)
        return;
    in.goalShown = goal;
    core::interludeView().setGoal(goal);
}

void liftLock(Game &game)
{
    core::StoryState &story = core::process().story;
    story.interludeActive = false;
    const bool mapWon = isMapGoalLine(story.currentLine);
    // A map skipped is won for the player, and the next line tells of its
    // last watcher falling: none may stay on the scenery.
    if (mapWon && game.interludeMode() == InterludeMode::Skipped) {
        InterludeState &in = interlude();
        in.enemyCount = 0;
        in.enemyPositions.clear();
        in.enemyMotion.clear();
        core::interludeView().setEnemiesLeft(0);
        if (game.controller)
            game.controller->updateElementArray(QVariantList());
    }
    showGoal(mapWon ? 2 : 1);
}

// How far to the right of the nearer figure an enemy still leaps at it, and
// how fast its leap starts.
struct Leap {
    int reach;
    float vx, vy;
    // Whether an enemy beyond the map's right end comes in whatever the reach:
    // spawned there (a map begun without the one before), it would otherwise
    // wait for a player who cannot walk that far, and the map could not be won.
    bool offMapComesIn;
};
constexpr Leap kLeap{600, 14.5f, -6.5f, false};
// The kinder mode: a third of the reach, two-thirds the speed across. As high
// as ever: a lower leap lands on a figure running at it instead of over it.
constexpr Leap kKinderLeap{200, 14.5f * 2 / 3, -6.5f, true};

// Moves one enemy by its leap-and-settle rules; evx, evy and ey are its own.
void moveEnemy(int d, const Leap &leap, float &evx, float &evy, int &ey)
{
    bool skipVertical = false;
    if (d > 0 && within(ey, 326, 330)) {
        evx = leap.vx;
        evy = leap.vy;
    } else if (d < 0 && within(ey, 326, 330)) {
        evx = -leap.vx;
        evy = leap.vy;
    } else if (evx > 1 && within(ey, 326, 331)) {
        evx = plus(evx, -0.5);
    } else if (evx < -1) {
        if (ey <= 325) {
            evy = plus(evy, 0.5);
            skipVertical = true;
        } else if (ey <= 331) {
            evx = plus(evx, 0.5);
        }
    } else if (ey <= 325) {
        evy = plus(evy, 0.5);
        skipVertical = true;
    } else if (ey <= 331 && evx >= -1 && evx <= 1) {
        evx = times(evx, 0.5);
    }
    if (skipVertical)
        return;
    if (ey < 330) {
        evy = plus(evy, 0.2);
    } else if (ey == 330) {
        evy = times(evy, 0.1);
    } else {
        ey = 330;
        evy = -0.5f;
    }
}

// Whether a ray from (fx, fy) with the given slope passes through the enemy.
bool rayHits(int ex, int ey, int fx, int fy, float slope)
{
    const float sigma = ey > fy ? 1.0f : -1.0f;
    const float t = sigma * float(std::abs(ex - fx)) * std::fabs(slope) - float(ey - fy);
    return t > 0 && t < 20;
}

void removeEnemy(InterludeState &in, int j)
{
    for (QList<int> *list : {&in.enemyPositions, &in.enemyHomes}) {
        if (j + 1 < list->size())
            list->removeAt(j + 1);
        if (j < list->size())
            list->removeAt(j);
    }
    if (j + 1 < in.enemyMotion.size())
        in.enemyMotion.removeAt(j + 1);
    if (j < in.enemyMotion.size())
        in.enemyMotion.removeAt(j);
    --in.enemyCount;
}

void capture(Game &game, Caught who)
{
    InterludeState &in = interlude();
    core::StoryState &story = core::process().story;
    in.interludeReturnLine = story.currentLine;
    const CaptureLines scenes = captureLines(in.interludeMap);
    int line = 0;
    if (in.triesLeft > 0) {
        if (who == Caught::Player) {
            line = in.playerCaught == 1 ? scenes.playerAgain : scenes.player;
            in.playerCaught = 1;
        } else {
            line = in.companionCaught == 1 ? scenes.companionAgain : scenes.companion;
            in.companionCaught = 1;
        }
        --in.triesLeft;
    } else if (who == Caught::Player) {
        line = scenes.playerLost;
    } else {
        line = scenes.companionLost;
    }
    core::InterludeView &view = core::interludeView();
    view.setTriesLeft(in.triesLeft);
    // Twice caught in one map: from now on the strip offers a way past it.
    if (++in.mapCaptures >= 2 && line != 0 && in.triesLeft > 0 && playedMode(game) != InterludeMode::Skipped
        && !in.skipOffered) {
        in.skipOffered = true;
        view.setSkip(true, in.skipTaken);
    }
    view.setCaught(who == Caught::Player ? 1 : 2);
    // A key still held would walk the figure on once the map is back.
    view.turnAttempt();
    qCDebug(lcStage) << (who == Caught::Player ? "zzzzzzzzzzz" : "zzzzzzzzzz");
    // Stopped until the scene is over and its map shown again.
    in.clockHeld = true;
    core::runInterludeClock(false);
    if (line != 0) {
        // The story is usually locked here; the capture scene must show all the same.
        story.interludeActive = false;
        story.currentLine = line;
        if (game.controller)
            game.controller->next1();
    }
}

// A busy machine wakes the event loop late, and a repeating timer drops the
// ticks it missed: the interlude would slow down. The steps owed are run when
// the timer comes; after a long pause (a capture, a stop) nothing is owed.
int stepsDue(core::StepClock &clock)
{
    constexpr qint64 kStepNs = 10'000'000;
    if (!clock.last.isValid() || clock.last.nsecsElapsed() > 25 * kStepNs) {
        clock.last.start();
        clock.owedNs = 0;
        return 1;
    }
    clock.owedNs += clock.last.nsecsElapsed();
    clock.last.start();
    // A tick a little early waits for the next; never more than five at once.
    const int due = int(qBound<qint64>(0, (clock.owedNs + kStepNs / 4) / kStepNs, 5));
    // What cannot be paid soon is let go: a machine that stays too slow
    // gets a slower interlude, not an ever longer burst.
    clock.owedNs = qBound<qint64>(-kStepNs, clock.owedNs - due * kStepNs, 5 * kStepNs);
    return due;
}

// What the page is told while no interlude is on screen, in one list.
QList<int> idleView(const InterludeState &in)
{
    return QList<int>{in.scrollX, in.sja1x, in.sja1y, in.sja2x, in.sja2y} + in.enemyPositions;
}

void publishFigures(Game &game, const InterludeState &in)
{
    game.publish(prop::sjx, in.scrollX);
    game.publish(prop::sja1x, in.sja1x);
    game.publish(prop::sja1y, in.sja1y);
    game.publish(prop::sja2x, in.sja2x);
    game.publish(prop::sja2y, in.sja2y);
}

// The step's parts, in the order the rules apply.

// What the enemies' turn found, for the parts after it.
struct EnemyPass {
    Caught caught = Caught::Nobody;
    bool anyInRange = false;  // an enemy within the companion's reach
    bool anyHandled = false;  // an enemy took its turn
    int hits = 0;
    QVariantList hitAt;       // x, y of each enemy hit, for the page's flash
    float companionAngle = 0; // towards the last enemy in reach
};

// A figure walking into a map's end stops just short of it: past it, it would
// leave the view and the player would lose it; at it, its glow would be cut.
void keepOnMap(int map, int &x, float &vx)
{
    const int width = mapWidth(map);
    if (width == 0)
        return;
    const int clamped = qBound(kEdgeMargin, x, width - 40 - kEdgeMargin);
    if (clamped != x) {
        x = clamped;
        vx = 0;
    }
}

// The companion is pulled towards a point 69 pixels behind the player.
void moveFigures(InterludeState &in)
{
    settleBody(in.playerVx, in.playerVy, in.sja1y);
    in.sja1x = moved(in.sja1x, in.playerVx);
    in.sja1y = moved(in.sja1y, in.playerVy);
    keepOnMap(in.interludeMap, in.sja1x, in.playerVx);

    const int d = in.sja1x - in.sja2x;
    const double pull = std::pow(1.0001, -0.1 * std::abs(d));
    in.companionVx = plus(in.companionVx, pull * 0.01 * double(float(d) - 69.0f));
    settleBody(in.companionVx, in.companionVy, in.sja2y);
    in.sja2x = moved(in.sja2x, in.companionVx);
    in.sja2y = moved(in.sja2y, in.companionVy);
    keepOnMap(in.interludeMap, in.sja2x, in.companionVx);
}

// The view follows a player walking towards either edge, within the map.
void scrollView(InterludeState &in)
{
    if (in.interludeMap != 1 && in.interludeMap != 2)
        return;
    const int limit = mapWidth(in.interludeMap) - 720; // the view is 720 wide
    const int onScreen = in.sja1x + in.scrollX;
    if (((onScreen > 450 && in.playerVx > 0) || (onScreen < 50 && in.playerVx < 0))
        && within(in.scrollX, -limit, 0))
        in.scrollX = qBound(-limit, int(float(in.scrollX) - in.playerVx), 0);
}

// The enemy at j leaps at the nearer figure, unless both are far to its left.
void chase(InterludeState &in, const Leap &leap, int j, int ex, int ey)
{
    // A tie goes to the companion.
    const int d1 = in.sja1x - ex;
    const int d2 = in.sja2x - ex;
    const int nearest = std::abs(d1) < std::abs(d2) ? d1 : d2;
    const bool offMap = ex > mapWidth(in.interludeMap) - kEnemySize;
    if (nearest <= -leap.reach && !(leap.offMapComesIn && offMap))
        return;
    float evx = in.enemyMotion.value(j).toFloat();
    float evy = in.enemyMotion.value(j + 1).toFloat();
    int newY = ey;
    moveEnemy(nearest, leap, evx, evy, newY);
    if (j + 1 < in.enemyMotion.size()) {
        in.enemyMotion[j] = evx;
        in.enemyMotion[j + 1] = evy;
    }
    in.enemyPositions[j] += rounded(evx);
    in.enemyPositions[j + 1] = newY + rounded(evy);
}

// The companion turns to an enemy in its reach and jumps at one close by. An
// enemy out of its reach ends the player's shot, as it always has. True when
// the companion's fire hits.
bool companionAims(InterludeState &in, int ex, int ey, EnemyPass &pass)
{
    bool hit = false;
    if (std::abs(in.sja2x - ex) >= 470) {
        in.playerFiring = 0;
    } else {
        pass.anyInRange = true;
        const float slope = float(double(ey - in.sja2y + 0.00001) / double(ex - in.sja2x + 0.000001));
        double angle = std::atan(double(slope));
        if (ex < in.sja2x)
            angle += kHalfTurn;
        pass.companionAngle = float(angle);
        hit = in.companionFiring == 1 && rayHits(ex, ey, in.sja2x, in.sja2y, slope);
    }
    if (std::abs(in.sja2x - ex) < 160 && in.sja2y > 305)
        in.companionVy = -14.0f;
    return hit;
}

// An enemy just right of and below a figure catches it; the player first.
void contact(const InterludeState &in, int ex, int ey, EnemyPass &pass)
{
    if (-40 < in.sja1x - ex && in.sja1x - ex < 0 && -40 < in.sja1y - ey && in.sja1y - ey < 0) {
        if (pass.caught == Caught::Nobody)
            pass.caught = Caught::Player;
        ex += 100;
    }
    if (-40 < in.sja2x - ex && in.sja2x - ex < 0 && -40 < in.sja2y - ey && in.sja2y - ey < 0) {
        if (pass.caught == Caught::Nobody)
            pass.caught = Caught::Companion;
    }
}

void enemiesTurn(InterludeState &in, InterludeMode mode, EnemyPass &pass)
{
    // Enemies wait while no interlude is on screen: they must not catch
    // figures nobody sees, nor be shot by them. A skipped interlude's enemies
    // are part of the scenery.
    if (in.interludeMap == 0 || mode == InterludeMode::Skipped)
        return;
    const Leap &leap = mode == InterludeMode::Kinder ? kKinderLeap : kLeap;
    for (int k = 0; k < in.enemyCount; ++k) {
        const int j = 2 * k;
        if (j + 1 >= in.enemyPositions.size())
            break;
        pass.anyHandled = true;
        // Aim, shots and contact see the enemy where it stood before its leap.
        const int ex = in.enemyPositions.at(j);
        const int ey = in.enemyPositions.at(j + 1);
        // Waiting enemies blink where they stand and catch nobody; shots still tell.
        const bool waiting = in.enemyWait > 0;
        if (!waiting)
            chase(in, leap, j, ex, ey);
        bool hit = companionAims(in, ex, ey, pass);
        if (in.playerFiring == 1 && rayHits(ex, ey, in.sja1x, in.sja1y, in.aimSlope))
            hit = true;
        // Both rays on one enemy still destroy only that one; the enemy that
        // moves up into its place waits for the next step.
        if (hit) {
            ++pass.hits;
            pass.hitAt << ex << ey;
            removeEnemy(in, j);
            continue;
        }
        if (!waiting)
            contact(in, ex, ey, pass);
    }
}

// The companion's fire waits on the interlude's clock, the steps its timer ran
// (owed ones included), so it keeps time with the figures through late ticks
// and a capture's pause; steps run by hand take no time. A 150 ms wait begun
// during a step is over for the 16th step after it, a 200 ms one for the 21st:
// the fire starts 16 steps after an enemy came in reach, lasts through the
// 16th step after the last one with an enemy in reach, and at least 21 steps.
constexpr qint64 kFireStartSteps = 16;
constexpr qint64 kFireHoldSteps = 17;
constexpr qint64 kFireLeastSteps = 21;

// Decides whether the companion fires in the next step; true when it stopped.
bool companionFire(InterludeState &in, bool anyInRange)
{
    const qint64 now = in.clock.steps;
    // Fire set from elsewhere has no start here: it lasts the least time from now.
    if (in.companionFiring == 1 && in.companionFiresUntil < 0)
        in.companionFiresUntil = now + kFireLeastSteps;
    if (anyInRange) {
        if (in.companionFiring == 0 && in.companionFiresFrom < 0)
            in.companionFiresFrom = now + kFireStartSteps;
        in.companionFiresUntil = std::max(in.companionFiresUntil, now + kFireHoldSteps);
    }
    const qint64 next = now + 1;
    if (in.companionFiresFrom >= 0 && next >= in.companionFiresFrom) {
        in.companionFiring = 1;
        in.companionFiresFrom = -1;
        in.companionFiresUntil = std::max(in.companionFiresUntil, next + kFireLeastSteps);
    } else if (in.companionFiring == 1 && next >= in.companionFiresUntil) {
        in.companionFiring = 0;
        in.companionFiresUntil = -1;
        return true;
    }
    return false;
}

// The story goes on once the player is past the map's goal, and the page says so.
void reachGoal(Game &game, InterludeState &in)
{
    core::StoryState &story = core::process().story;
    bool reached = false;
    if (in.interludeMap == 1) {
        reached = in.sja1x > 1832 && in.enemyCount == 0;
    } else {
        // Past the high platform lifts the lock on the way; the last one, at
        // the gate, asks for every watcher gone and the gate passed, as its line says.
        reached = (in.sja1x > 3530 && in.enemyCount == 0)
                  || (!isMapGoalLine(story.currentLine) && within(in.sja1x, 1381, 3529));
    }
    if (reached && story.interludeActive)
        liftLock(game);
}

void publishStep(Game &game, InterludeState &in, const EnemyPass &pass, bool fireEnded)
{
    if (pass.hits > 0) {
        core::interludeView().setEnemiesLeft(in.enemyCount);
        core::interludeView().hitEnemies(pass.hitAt);
    }
    // The view is hidden outside an interlude: telling the page the same values
    // a hundred times a second would only wake its bindings for nothing.
    bool unchangedWhileHidden = false;
    if (in.interludeMap == 0) {
        QList<int> view = idleView(in);
        unchangedWhileHidden = view == in.idlePublished;
        in.idlePublished = std::move(view);
    } else {
        in.idlePublished.clear();
    }
    if (!unchangedWhileHidden)
        publishFigures(game, in);
    if (pass.anyInRange)
        game.publish(prop::sja2theta, pass.companionAngle);
    // The end of the fire is told even when no enemy is left to take a turn.
    if (pass.anyHandled || fireEnded)
        game.publish(prop::fsa2visible, in.companionFiring);
    if (game.controller && !unchangedWhileHidden) {
        QVariantList positions;
        positions.reserve(in.enemyPositions.size());
        for (int v : qAsConst(in.enemyPositions))
            positions.append(v);
        game.controller->updateElementArray(positions);
    }
}

} // namespace

void settleBody(float &vx, float &vy, int &y)
{
    if (vx > 1 && within(y, 306, 311))
        vx = plus(vx, -0.5);
    else if (vx < -1 && within(y, 306, 311))
        vx = plus(vx, 0.5);
    else if (within(y, 306, 311))
        vx = times(vx, 0.5);
    else if (vx > 1 && within(y, 312, 319))
        vx = plus(vx, -1.2);
    else if (vx < -1 && within(y, 312, 319))
        vx = plus(vx, 1.2);
    else if (within(y, 312, 319))
        vx = times(vx, 0.1);

    if (y <= 305) {
        vy = plus(vy, 0.5);
    } else if (y <= 308) {
        vy = plus(vy, 0.2);
    } else if (y <= 311) {
        vy = times(vy, 0.1);
    } else if (y <= 320) {
        vy = plus(vy, -0.3);
    } else {
        y = 320;
        vy = -0.5f;
    }
}

void interludeStep(Game &game)
{
    InterludeState &in = interlude();
    ++in.stepsRun;
    if (in.enemyWait > 0 && --in.enemyWait == 0)
        core::interludeView().setEnemiesWaiting(false);
    moveFigures(in);
    scrollView(in);
    EnemyPass pass;
    enemiesTurn(in, playedMode(game), pass);
    const bool fireEnded = companionFire(in, pass.anyInRange);
    reachGoal(game, in);
    publishStep(game, in, pass, fireEnded);
    // One capture a step: the first scene shown decides where the story returns.
    if (pass.caught != Caught::Nobody)
        capture(game, pass.caught);
}

void clockedStep(Game &game)
{
    ++interlude().clock.steps;
    interludeStep(game);
}

void walk(Game &game, int ad)
{
    if (playedMode(game) == InterludeMode::Skipped)
        return;
    InterludeState &in = interlude();
    const double change = ad == 2 ? 0.03 : ad == 1 ? -0.03 : 0;
    if (change == 0)
        return;
    for (qint64 i = 0; i < in.stepsRun && in.sja1y > 305; ++i) {
        if (ad == 2 ? !(in.playerVx < 8) : !(in.playerVx > -8))
            break;
        in.playerVx = plus(in.playerVx, change);
    }
}

void jumpOrDrop(Game &game, int ws)
{
    if (playedMode(game) == InterludeMode::Skipped)
        return;
    InterludeState &in = interlude();
    if (ws == 1) {
        for (qint64 i = 0; i < in.stepsRun && in.sja1y >= 305 && in.playerVy > -12; ++i)
            in.playerVy = plus(in.playerVy, -0.1);
    } else if (ws == 2 && in.stepsRun > 0 && in.sja1y > 305) {
        in.sja1y = 320;
        in.playerVy = 0;
    }
}

void aim(Game &game, float sx, float sy)
{
    InterludeState &in = interlude();
    if (in.stepsRun == 0)
        return;
    // The pointer is on the page; the player is on the map, which may have scrolled.
    const float mapX = sx - float(in.scrollX);
    const float dx = mapX - float(in.sja1x);
    const float dy = sy - float(in.sja1y);
    if (dx != 0)
        in.aimSlope = dy / dx;
    else
        in.aimSlope = dy > 0 ? kSteepSlope : dy < 0 ? -kSteepSlope : 0.0f;
    double angle = std::atan(double(in.aimSlope));
    if (mapX < float(in.sja1x))
        angle += kHalfTurn;
    if (in.interludeMap != 0)
        game.publish(prop::sja1theta, float(angle));
}

void fire(Game &game, int fs)
{
    InterludeState &in = interlude();
    if (in.stepsRun == 0)
        return;
    in.playerFiring = fs != 0 ? 1 : 0;
    game.publish(prop::fsa1visible, in.playerFiring);
}

QList<int> spawnEnemies(Game &game, int map)
{
    InterludeState &in = interlude();
    game.publish(prop::blockCount, in.enemyCount);
    const int base = map == 1 ? 720 : 3000;
    for (int i = 0; i < in.enemyCount; ++i) {
        // The record only grows to what a map needs: the second map keeps the first's points.
        if (in.enemySpawns.size() >= 2 * in.enemyCount)
            continue;
        in.enemySpawns.append(1500 / in.enemyCount * i + base);
        in.enemySpawns.append(330);
    }
    return in.enemySpawns;
}

void placeEnemies(Game &game, int map)
{
    InterludeState &in = interlude();
    in.enemyPositions = spawnEnemies(game, map);
    core::interludeView().setEnemiesLeft(in.enemyCount);
    in.enemyHomes = in.enemyPositions;
    in.enemyMotion.clear();
    fitEnemyMotion();
}

void fitEnemyMotion()
{
    InterludeState &in = interlude();
    const int n = in.enemyPositions.size();
    while (in.enemyMotion.size() > n)
        in.enemyMotion.removeLast();
    while (in.enemyMotion.size() < n)
        in.enemyMotion.append(0);
}

void placeFiguresAtStart(InterludeState &in)
{
    in.sja1x = core::kPlayerStartX;
    in.sja1y = core::kPlayerStartY;
    in.sja2x = core::kCompanionStartX;
    in.sja2y = core::kCompanionStartY;
    in.playerVx = in.playerVy = 0;
    in.companionVx = in.companionVy = 0;
}

void restartAttempt(Game &game)
{
    InterludeState &in = interlude();
    placeFiguresAtStart(in);
    in.scrollX = 0;
    // The enemy that made the capture would otherwise make it again at once.
    if (in.enemyHomes.size() == in.enemyPositions.size())
        in.enemyPositions = in.enemyHomes;
    in.enemyMotion.clear();
    fitEnemyMotion();
    in.playerFiring = 0;
    in.companionFiring = 0;
    in.companionFiresFrom = -1;
    in.companionFiresUntil = -1;
    in.idlePublished.clear();
    in.returnPending = false;
    in.enemyWait = playedMode(game) == InterludeMode::Kinder ? kKinderWaitSteps : kEnemyWaitSteps;
    publishFigures(game, in);
    core::InterludeView &view = core::interludeView();
    view.setCaught(0);
    game.publish(prop::fsa1visible, 0);
    game.publish(prop::fsa2visible, 0);
    view.setEnemiesWaiting(true);
    view.setEnemiesLeft(in.enemyCount);
    view.turnAttempt();
    // The page still holds the list from before the capture; the map must not
    // show those enemies for a frame.
    if (game.controller) {
        QVariantList positions;
        for (int v : qAsConst(in.enemyPositions))
            positions.append(v);
        game.controller->updateElementArray(positions);
    }
    in.clockHeld = false;
    core::runInterludeClock(true);
}

void connectInterlude(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    QObject::connect(c, &MainWindow::adChanged, c, [g](int ad) { walk(*g, ad); });
    QObject::connect(c, &MainWindow::wsChanged, c, [g](int ws) { jumpOrDrop(*g, ws); });
    QObject::connect(c, &MainWindow::weizhiChanged, c, [g](float sx, float sy) { aim(*g, sx, sy); });
    QObject::connect(c, &MainWindow::fsChanged, c, [g](int fs) { fire(*g, fs); });
    QTimer *&timer = interludeTimer();
    if (!timer)
        timer = new QTimer; // start-up makes it; a test's story may not have
    QTimer *t = timer;
    QObject::connect(timer, &QTimer::timeout, c, [g, t] {
        for (int due = stepsDue(interlude().clock); due > 0 && t->isActive(); --due)
            clockedStep(*g);
    });
    const InterludeState &in = interlude();
    core::InterludeView &view = core::interludeView();
    view.setTriesLeft(in.triesLeft);
    view.setEnemiesWaiting(false);
    view.setGoal(in.goalShown);
    view.setEnemiesLeft(in.enemyCount);
    view.setCaught(0);
    view.setSkip(in.skipOffered, in.skipTaken);
}

void clearGoal()
{
    showGoal(0);
}

void lockStory(Game &game)
{
    core::process().story.interludeActive = true;
    if (playedMode(game) == InterludeMode::Skipped)
        liftLock(game);
}

void changeInterludeMode(Game &game, InterludeMode before)
{
    InterludeState &in = interlude();
    const int more = startingTries(game.interludeMode()) - startingTries(before);
    in.triesLeft = qBound(0, in.triesLeft + more, startingTries(game.interludeMode()));
    core::interludeView().setTriesLeft(in.triesLeft);
    if (game.interludeMode() == InterludeMode::Skipped && core::process().story.interludeActive)
        liftLock(game);
}

void freshMap()
{
    InterludeState &in = interlude();
    in.mapCaptures = 0;
    in.skipOffered = false;
    in.skipTaken = false;
    core::interludeView().setSkip(false, false);
}

bool takeSkipOffer(Game &game)
{
    InterludeState &in = interlude();
    // Not while the enemies still wait: a click meant for the capture scene
    // must not pass the map.
    if (!in.skipOffered || in.interludeMap == 0 || in.enemyWait > 0 || !core::process().story.interludeActive)
        return false;
    in.skipOffered = false;
    in.skipTaken = true;
    core::interludeView().setSkip(false, true);
    liftLock(game);
    return true;
}

InterludeMode playedMode(const Game &game)
{
    return interlude().skipTaken ? InterludeMode::Skipped : game.interludeMode();
}

} // namespace stage
