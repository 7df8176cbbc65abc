#include "story/autoskip.h"

#include "core/game.h"
#include "core/mainwindow.h"
#include "stage/stagetable.h"
#include "speech/voice.h"
#include "stage/staging.h"
#include "story/choices.h"
#include "story/linecursor.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/readaloud.h"
#include "story/readlines.h"
#include "story/storystate.h"
#include "story/storyview.h"

#include <QPointer>
#include <QTimer>

#include <memory>

namespace story {

namespace {

using core::dropTimer;

core::AutoSkipState &timers()
{
    return core::process().autoSkip;
}

// The game page's marks follow the timers, not the controller's toggles,
// which stay on after auto or skip stopped by itself.
void publishRunning(Game &game)
{
    Q_UNUSED(game)
    storyView().setRunning(!timers().autoTimer.isNull(), !timers().skipTimer.isNull());
}

// Skipping stopped where the player has to act: the controller's toggle goes
// off with it, or the next 快进 or Ctrl would only switch off what is off.
void endSkip(Game &game)
{
    dropTimer(timers().skipTimer);
    publishRunning(game);
    if (game.controller)
        game.controller->skipEnded();
}

} // namespace

int autoInterval(float vhang)
{
    const double interval = 500.0 / (double(vhang) + 0.00001);
    return interval < kLongestAutoWait ? int(interval) : kLongestAutoWait;
}

int autoRearmDelay(float vhang)
{
    const double delay = 50.0 / (double(vhang) + 0.00001);
    return delay < kLongestAutoWait / 10 ? int(delay) : kLongestAutoWait / 10;
}

QTimer *autoTimer() { return timers().autoTimer; }
QTimer *skipTimer() { return timers().skipTimer; }

bool &autoJustStarted()
{
    return timers().autoJustStarted;
}

void setAuto(Game &game, int value)
{
    QPointer<QTimer> &timer = timers().autoTimer;
    dropTimer(timer);
    if (value == 0) {
        publishRunning(game);
        return;
    }
    // Owned by the run's engine, so it cannot outlive the game it calls back.
    timer = new QTimer(game.lifetime());
    timer->setInterval(autoInterval(game.autoSpeed()));
    autoJustStarted() = true;
    Game *g = &game;
    QObject::connect(timer, &QTimer::timeout, timer, [g] { autoTick(*g); });
    timer->start();
    publishRunning(game);
}

void autoTick(Game &game)
{
    StoryState &s = state();
    // The line is heard out; its full interval runs from the speech's end.
    if (speechHolds(game)) {
        QTimer *timer = timers().autoTimer;
        timer->stop();
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(game.voice, &speech::Voice::idle, timer, [timer, once] {
            QObject::disconnect(*once);
            timer->start();
        });
        return;
    }
    if (autoJustStarted() || typing().typingDone) {
        // A question reached by typing has offered its answers already.
        if (isWaitingLine(s.currentLine)) {
            dropTimer(timers().autoTimer);
            publishRunning(game);
            return;
        }
        if (stepForward(game, ShowLine::Typed))
            autoJustStarted() = false;
        if (typing().typingDone)
            return;
    }
    QPointer<QTimer> timer = timers().autoTimer;
    if (!timer)
        return;
    timer->stop();
    QTimer::singleShot(autoRearmDelay(game.autoSpeed()), timer.data(), [timer] { timer->start(); });
}

void setSkip(Game &game, int value)
{
    QPointer<QTimer> &timer = timers().skipTimer;
    dropTimer(timer);
    if (value == 0) {
        publishRunning(game);
        return;
    }
    timer = new QTimer(game.lifetime());
    timer->setInterval(100);
    Game *g = &game;
    QObject::connect(timer, &QTimer::timeout, timer, [g] { skipTick(*g); });
    timer->start();
    publishRunning(game);
}

void skipTick(Game &game)
{
    StoryState &s = state();
    // A map's goal line, its lock lifted, is a map won: skip goes on from it,
    // and through every map while the interludes are skipped.
    const bool mapWon = stage::isMapGoalLine(s.currentLine) && !s.interludeActive;
    const bool passes = !isWaitingLine(s.currentLine)
                        && (mapWon || game.interludeMode() == InterludeMode::Skipped);
    if (isSkipStopLine(s.currentLine) && !passes) {
        stage::stageLine(game, 0);
        endSkip(game);
        // The line was shown whole, so no end of typing will offer the answers:
        // offer them now, or the story would wait here for good.
        if (isWaitingLine(s.currentLine) && !typeTimer()->isActive())
            offerChoice(game);
        // Skipping read nothing; the question the player must now answer is read.
        if (isWaitingLine(s.currentLine))
            speakLine(game, s.currentLine);
        return;
    }
    // New text is read, not skipped: skipping ends on the first line never shown.
    const bool stepsOn = !s.mistakePending && !isEndingLine(s.currentLine) && !s.interludeActive;
    if (game.skipReadOnly() && stepsOn && !isLineRead(s.currentLine + 1)) {
        endSkip(game);
        stepForward(game, ShowLine::Typed);
        return;
    }
    stepForward(game, ShowLine::Whole);
}

} // namespace story
