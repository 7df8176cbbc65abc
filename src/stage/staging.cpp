#include "stage/staging.h"

#include "core/game.h"
#include "core/interludeview.h"
#include "core/log.h"
#include "extras/unlockrecord.h"
#include "music/music.h"
#include "stage/interlude.h"
#include "stage/interludestate.h"
#include "stage/stagetable.h"

#include <QQmlEngine>
#include <QTimer>
#include <QtDebug>

namespace stage {

StagingState &staging()
{
    return core::process().staging;
}

namespace {

void applyFigures(StagingState &s, const Figures &figures)
{
    if (figures.layout < 0)
        return;
    s.figureLayout = figures.layout;
    QString *target[3] = {};
    switch (figures.layout) {
    case 1: target[0] = &s.a1Path; break;
    case 2: target[0] = &s.a2_1Path; target[1] = &s.a2_2Path; break;
    case 3: target[0] = &s.a3_1Path; target[1] = &s.a3_2Path; target[2] = &s.a3_3Path; break;
    case 4: target[0] = &s.a1fPath; break;
    case 5: target[0] = &s.a3_1fPath; target[1] = &s.a3_2fPath; target[2] = &s.a3_3fPath; break;
    default: break;
    }
    for (int i = 0; i < 3; ++i) {
        if (target[i] && figures.names[i])
            *target[i] = QString::fromUtf8(figures.names[i]);
    }
}

void raiseRecord(const StageAction &action)
{
    switch (action.cgRule) {
    case CgRule::None:
        break;
    case CgRule::Raise:
        extras::raiseCgProgress(action.cg);
        break;
    case CgRule::FromZero:
        // The first illustration may not undo a record loaded from an earlier run.
        if (extras::cgProgress() == 0)
            extras::raiseCgProgress(action.cg);
        break;
    case CgRule::RaiseLogged:
        if (extras::raiseCgProgress(action.cg))
            qCDebug(lcStage) << "111111111111";
        break;
    }
}

} // namespace

// A timer that outlives the engine must not touch it: the engine is its parent.
void publishLater(QPointer<QTimer> &slot, const Game &game, int ms, const std::function<void(const Game &)> &publishing)
{
    core::dropTimer(slot);
    if (!game.engine)
        return;
    auto *timer = new QTimer(game.engine);
    timer->setSingleShot(true);
    // The game itself, not a copy: what it publishes is recorded where the
    // 繁體 switch finds it. The game outlives its engine, and so this timer.
    const Game *g = &game;
    QObject::connect(timer, &QTimer::timeout, timer, [g, timer, publishing] {
        publishing(*g);
        timer->deleteLater();
    });
    slot = timer;
    timer->start(ms);
}

namespace {

// A later line cancels the hide, or three quick clicks from 802 would hide the
// background of 805 instead of 803's.
void cancelPendingHide()
{
    core::dropTimer(staging().pendingHide);
}

// Only the page loses the background; the stored flag stays for saves.
void hideBackgroundLater(const Game &game)
{
    publishLater(staging().pendingHide, game, 200, [](const Game &g) { g.publishNull(prop::bVisible); });
}

void setUpInterlude(Game &game, int map)
{
    InterludeState &in = interlude();
    const int mistakes = core::process().story.mistakeCount;
    in.enemyCount = map == 1 ? 10 * mistakes + 10 : 20 * mistakes + 30;
    staging().bVisible = 0;
    placeFiguresAtStart(in);
    game.publish(prop::sja1x, in.sja1x);
    game.publish(prop::sja1y, in.sja1y);
    game.publish(prop::sja2x, in.sja2x);
    game.publish(prop::sja2y, in.sja2y);
    game.publishNull(prop::sjx);
    core::interludeView().setGreatWatcher(false, core::kGreatWatcherHome);
    placeEnemies(game, map);
    in.scrollX = 0;
    freshMap();
}

void endInterlude(Game &game)
{
    InterludeState &in = interlude();
    in.containerShown = 0;
    in.map1Shown = 0;
    in.map2Shown = 0;
    game.publish(prop::sjvisible, 0);
    game.publish(prop::ditu1visible, 0);
    game.publish(prop::ditu2visible, 0);
    core::runInterludeClock(false);
}

// The shots are told as the two of them back to back: the player's ray runs
// right into the great Watcher coming at them, the companion's left at those
// behind. It steps into the view in front of the player, all in sight.
void meetGreatWatcher(Game &game)
{
    InterludeState &in = interlude();
    const int width = mapWidth(2);
    const int watcherX = qBound(0, in.sja1x + 190, width - 300);
    in.scrollX = qBound(-(width - 720), 200 - in.sja1x, 0);
    core::interludeView().setGreatWatcher(core::interludeView().greatWatcherDown(), watcherX);
    game.publish(prop::sjx, in.scrollX);
}

void scriptedShots(Game &game)
{
    if (interlude().interludeMap == 2)
        meetGreatWatcher(game);
    staging().bVisible = 0;
    game.publish(prop::fsa1visible, 1);
    game.publish(prop::fsa2visible, 1);
    game.publishNull(prop::sja1theta);
    game.publish(prop::sja2theta, 3.1415);
    core::interludeView().setGreatWatcher(true, core::interludeView().greatWatcherX());
    publishLater(staging().shotsEnd, game, 200, [](const Game &g) {
        g.publishNull(prop::fsa1visible);
        g.publishNull(prop::fsa2visible);
    });
}

// The scene's last line shows as a scene too; the map and the attempt come
// back with the next step, which shows the line of the capture again.
void returnToInterlude(Game &)
{
    core::process().story.currentLine = interlude().interludeReturnLine - 1;
    interlude().returnPending = true;
}

void applyEntry(Game &game, const StageRow &row)
{
    StagingState &s = staging();
    if (row.background.visible >= 0)
        s.bVisible = row.background.visible;
    // A picture named is a picture meant to be seen, unless the entry hides it.
    if (row.background.name) {
        s.bcPath = QString::fromUtf8(row.background.name);
        if (row.background.visible < 0)
            s.bVisible = 1;
    }
    applyFigures(s, row.figures);
    raiseRecord(row.other);

    const Special special = row.other.special;
    // The second map's set-up comes before its music; an interlude's end after it.
    if (special == Special::SetUpMap1)
        setUpInterlude(game, 1);
    else if (special == Special::SetUpMap2)
        setUpInterlude(game, 2);
    if (row.other.music)
        music::playMusicForLine(game);

    switch (special) {
    case Special::LockStory:
        s.bVisible = 0;
        lockStory(game);
        break;
    case Special::EndInterlude:
        endInterlude(game);
        break;
    case Special::ScriptedShots:
        scriptedShots(game);
        break;
    case Special::HideBackgroundLater:
        hideBackgroundLater(game);
        break;
    case Special::ReturnToInterlude:
        returnToInterlude(game);
        break;
    case Special::None:
    case Special::SetUpMap1:
    case Special::SetUpMap2:
        break;
    }
}

void showMap(Game &game, int map)
{
    InterludeState &in = interlude();
    const bool first = map == 1;
    in.interludeMap = map;
    staging().figureLayout = 0;
    if (in.containerShown == 0 || (first ? in.map1Shown : in.map2Shown) == 0) {
        in.containerShown = 1;
        in.map1Shown = first ? 1 : 0;
        in.map2Shown = first ? 0 : 1;
        game.publish(prop::ditu1visible, in.map1Shown);
        game.publish(prop::ditu2visible, in.map2Shown);
        game.publish(prop::sjvisible, 1);
    }
    in.containerShown = 1;
    in.map1Shown = first ? 1 : 0;
    in.map2Shown = first ? 0 : 1;
    fitEnemyMotion();
    if (in.returnPending)
        restartAttempt(game);
    core::runInterludeClock(true);
}

// line: the line shown, which a return line leaves behind the cursor.
void applyInterludeVisibility(Game &game, int line)
{
    if (inFirstMap(line)) {
        showMap(game, 1);
        return;
    }
    if (inSecondMap(line)) {
        showMap(game, 2);
        return;
    }
    InterludeState &in = interlude();
    in.interludeMap = 0;
    core::runInterludeClock(false);
    // The container flag stays set, so every later line hides the maps again.
    if (in.containerShown == 1) {
        game.publishNull(prop::sjvisible);
        in.map1Shown = 0;
        in.map2Shown = 0;
        game.publish(prop::ditu1visible, 0);
        game.publish(prop::ditu2visible, 0);
    }
}

void publishScene(Game &game)
{
    const StagingState &s = staging();
    game.publish(prop::bVisible, s.bVisible);
    game.publish(prop::bcPath, s.bcPath);
    game.publish(prop::a1visible, s.figureLayout == 1 ? 1 : 0);
    game.publish(prop::a2visible, s.figureLayout == 2 ? 1 : 0);
    game.publish(prop::a3visible, s.figureLayout == 3 ? 1 : 0);
    game.publish(prop::a1fvisible, s.figureLayout == 4 ? 1 : 0);
    game.publish(prop::a3fvisible, s.figureLayout == 5 ? 1 : 0);
    game.publish(prop::a1Path, s.a1Path);
    game.publish(prop::a2_1Path, s.a2_1Path);
    game.publish(prop::a2_2Path, s.a2_2Path);
    game.publish(prop::a3_1Path, s.a3_1Path);
    game.publish(prop::a3_2Path, s.a3_2Path);
    game.publish(prop::a3_3Path, s.a3_3Path);
    game.publish(prop::a1fPath, s.a1fPath);
    game.publish(prop::a3_1fPath, s.a3_1fPath);
    game.publish(prop::a3_2fPath, s.a3_2fPath);
    game.publish(prop::a3_3fPath, s.a3_3fPath);
}

} // namespace

namespace {

QVector<QString *> sceneSlots(StagingState &s)
{
    return {&s.bcPath, &s.a1Path, &s.a2_1Path, &s.a2_2Path, &s.a3_1Path, &s.a3_2Path, &s.a3_3Path,
            &s.a1fPath, &s.a3_1fPath, &s.a3_2fPath, &s.a3_3fPath};
}

// The mistake line's figures must not outlive it: stepping on from it starts
// from the question line's scene, as the right answer's path does.
void leaveMistakeScene(StagingState &s)
{
    if (s.beforeMistake.isEmpty())
        return;
    const QVector<QString *> fields = sceneSlots(s);
    for (int i = 0; i < fields.size(); ++i)
        *fields[i] = s.beforeMistake.value(i);
    s.bVisible = s.beforeMistakeVisible;
    s.figureLayout = s.beforeMistakeLayout;
    s.beforeMistake.clear();
}

void enterMistakeScene(StagingState &s)
{
    s.beforeMistake.clear();
    for (QString *slot : sceneSlots(s))
        s.beforeMistake.append(*slot);
    s.beforeMistakeVisible = s.bVisible;
    s.beforeMistakeLayout = s.figureLayout;
}

} // namespace

void stageLine(Game &game, int loadFlag)
{
    cancelPendingHide();
    clearGoal();
    StagingState &s = staging();
    const bool mistakeLine = core::process().story.mistakePending;
    if (loadFlag == 1)
        s.beforeMistake.clear(); // a load starts from its own scene
    else if (!mistakeLine)
        leaveMistakeScene(s);
    if (loadFlag == 1) {
        s.bVisible = 1;
        music::playMusicForLine(game);
    }

    const int shown = core::process().story.currentLine;
    int n = shown;
    const StageRow *row = stageEntry(n);
    // A loaded save restores the scene of the nearest earlier entry.
    if (!row && loadFlag == 1) {
        do {
            s.bVisible = 1;
            s.figureLayout = 0;
            --n;
            row = stageEntry(n);
        } while (!row && n >= 1);
    }
    if (row)
        applyEntry(game, *row);

    if (mistakeLine) {
        enterMistakeScene(s);
        s.figureLayout = 2;
        s.a2_1Path = QString::fromUtf8(kMistakeLeftFigure);
        s.a2_2Path = QString::fromUtf8(kMistakeRightFigure);
    }

    applyInterludeVisibility(game, shown);
    publishScene(game);
}

} // namespace stage
