#include "core/state.h"

#include "core/game.h"
#include "core/interludeview.h"

#include <QTimer>

namespace core {

ProcessState &process()
{
    static ProcessState s;
    return s;
}

QTimer *&interludeTimer()
{
    static QTimer *timer = nullptr;
    return timer;
}

void runInterludeClock(bool mapLive)
{
    QTimer *timer = interludeTimer();
    if (!timer)
        return;
    InterludeState &in = process().interlude;
    const bool run = mapLive && !in.clockHeld;
    if (run == timer->isActive())
        return;
    if (run) {
        // The walk and the jump take their strength from the steps run.
        if (in.clock.idle.isValid())
            in.stepsRun += in.clock.idle.elapsed() / 10;
        timer->start(10);
    } else {
        timer->stop();
        in.clock.idle.start();
    }
}

void dropTimer(QPointer<QTimer> &timer)
{
    if (timer) {
        timer->stop();
        timer->deleteLater();
    }
    timer = nullptr;
}

void resetProcessState()
{
    ProcessState &s = process();
    // One left running would act on the fresh state.
    for (QPointer<QTimer> *timer : {&s.typing.timer, &s.autoSkip.autoTimer, &s.autoSkip.skipTimer,
                                    &s.readLines.writeTimer, &s.staging.pendingHide, &s.staging.shotsEnd})
        dropTimer(*timer);
    QObject::disconnect(s.typing.tick);
    s = ProcessState();
    if (QTimer *timer = interludeTimer())
        timer->stop();
    interludeView().reset();
}

void resetRun(Game &game)
{
    StoryState &story = process().story;
    story.mistakePending = false;
    story.interludeActive = false;
    // A loaded save's story did not pass through what this one showed.
    process().shownLines.clear();
    process().shownPlaces.clear();
    InterludeState &in = process().interlude;
    in.triesLeft = startingTries(game.interludeMode());
    in.playerCaught = 0;
    in.companionCaught = 0;
    in.returnPending = false;
    in.enemyWait = 0;
    in.mapCaptures = 0;
    in.skipOffered = false;
    in.skipTaken = false;
    InterludeView &view = interludeView();
    view.setTriesLeft(in.triesLeft);
    view.setSkip(false, false);
    view.setEnemiesWaiting(false);
    // Enemies of an earlier story would come back as ghosts that cannot move,
    // be hit or touch anyone.
    in.enemySpawns.clear();
    // A capture holds the step; a story or save that starts elsewhere must not
    // inherit the hold. Its first map line starts the step again.
    in.clockHeld = false;
    runInterludeClock(false);
}

} // namespace core
