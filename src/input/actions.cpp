#include "input/actions.h"


namespace input {

Actions::Actions(QObject *parent) : QObject(parent) {}

bool Actions::lasts(int action)
{
    switch (action) {
    case SkipHeld:
    case WalkLeft:
    case WalkRight:
    case Jump:
    case Drop:
        return true;
    default:
        return false;
    }
}

void Actions::press(Action action)
{
    emit pressed(action);
}

void Actions::release(Action action)
{
    emit released(action);
}

void Actions::aim(double dx, double dy)
{
    emit aimed(dx, dy);
}

bool Actions::taken() const
{
    // Counted, not asked of isSignalConnected: QML's record of a handler
    // outlives the page that had it.
    return receivers(SIGNAL(pressed(input::Actions::Action))) > 0;
}

void Actions::setInterlude(bool on)
{
    if (on == interludeOn)
        return;
    interludeOn = on;
    emit interludeChanged(on);
}

Actions &actions()
{
    // Never destroyed: every engine of the run may hold it.
    static Actions *const instance = new Actions;
    return *instance;
}

} // namespace input
