#include "core/interludeview.h"

namespace core {

namespace {

template <typename T>
void assign(InterludeView *view, T &field, T value, void (InterludeView::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(view->*changed)();
}

} // namespace

InterludeView::InterludeView(QObject *parent) : QObject(parent) {}

void InterludeView::setTriesLeft(int n)
{
    assign(this, tries, n, &InterludeView::triesLeftChanged);
}

void InterludeView::setEnemiesWaiting(bool on)
{
    assign(this, waiting, on, &InterludeView::enemiesWaitingChanged);
}

void InterludeView::setGoal(int goal)
{
    assign(this, goalShown, goal, &InterludeView::goalChanged);
}

void InterludeView::setEnemiesLeft(int n)
{
    assign(this, left, n, &InterludeView::enemiesLeftChanged);
}

void InterludeView::setGreatWatcher(bool down, int x)
{
    assign(this, watcherDown, down, &InterludeView::greatWatcherDownChanged);
    assign(this, watcherX, x, &InterludeView::greatWatcherXChanged);
}

void InterludeView::setSkip(bool isOffered, bool isTaken)
{
    assign(this, offered, isOffered, &InterludeView::skipOfferedChanged);
    assign(this, taken, isTaken, &InterludeView::skipTakenChanged);
}

void InterludeView::setCaught(int who)
{
    assign(this, caughtFigure, who, &InterludeView::caughtChanged);
}

void InterludeView::reset()
{
    setTriesLeft(3);
    setEnemiesWaiting(false);
    setGoal(0);
    setEnemiesLeft(0);
    setGreatWatcher(false, kGreatWatcherHome);
    setSkip(false, false);
    setCaught(0);
}

InterludeView &interludeView()
{
    // Never destroyed: every engine of the run may hold it.
    static InterludeView *const instance = new InterludeView;
    return *instance;
}

} // namespace core
