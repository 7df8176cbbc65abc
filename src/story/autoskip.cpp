#include "story/autoskip.h"

#include "app/game.h"
#include "app/mainwindow.h"
#include "stage/staging.h"
#include "story/choices.h"
#include "story/linecursor.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/storystate.h"

#include <QPointer>
#include <QTimer>

namespace story {

namespace {

QPointer<QTimer> autoTimerPtr;
QPointer<QTimer> skipTimerPtr;

void dropTimer(QPointer<QTimer> &timer)
{
    if (timer) {
        timer->stop();
        timer->deleteLater();
    }
    timer = nullptr;
}

} // namespace

int autoInterval(float vhang)
{
    return int(500.0 / (double(vhang) + 0.00001));
}

int autoRearmDelay(float vhang)
{
    return int(50.0 / (double(vhang) + 0.00001));
}

QTimer *autoTimer() { return autoTimerPtr; }
QTimer *skipTimer() { return skipTimerPtr; }

bool &autoJustStarted()
{
    static bool justStarted = true;
    return justStarted;
}

void setAuto(Game &game, int value)
{
    dropTimer(autoTimerPtr);
    if (value == 0)
        return;
    autoTimerPtr = new QTimer;
    autoTimerPtr->setInterval(autoInterval(game.Vhang));
    autoJustStarted() = true;
    Game *g = &game;
    QObject::connect(autoTimerPtr, &QTimer::timeout, autoTimerPtr, [g] { autoTick(*g); });
    autoTimerPtr->start();
}

void autoTick(Game &game)
{
    StoryState &s = state();
    if (autoJustStarted() || typing().typingDone) {
        // A question reached by typing has offered its answers already.
        if (isWaitingLine(s.currentLine)) {
            dropTimer(autoTimerPtr);
            return;
        }
        if (stepForward(game, ShowLine::Typed))
            autoJustStarted() = false;
        if (typing().typingDone)
            return;
    }
    if (!autoTimerPtr)
        return;
    autoTimerPtr->stop();
    QTimer::singleShot(autoRearmDelay(game.Vhang), [] {
        if (autoTimerPtr)
            autoTimerPtr->start();
    });
}

void setSkip(Game &game, int value)
{
    dropTimer(skipTimerPtr);
    if (value == 0)
        return;
    skipTimerPtr = new QTimer;
    skipTimerPtr->setInterval(100);
    Game *g = &game;
    QObject::connect(skipTimerPtr, &QTimer::timeout, skipTimerPtr, [g] { skipTick(*g); });
    skipTimerPtr->start();
}

void skipTick(Game &game)
{
    StoryState &s = state();
    if (isSkipStopLine(s.currentLine)) {
        stage::stageLine(game, 0);
        dropTimer(skipTimerPtr);
        // The line was shown whole, so no end of typing will offer the answers:
        // offer them now, or the story would wait here for good.
        if (isWaitingLine(s.currentLine) && !typeTimer()->isActive())
            offerChoice(game);
        return;
    }
    stepForward(game, ShowLine::Whole);
}

} // namespace story
