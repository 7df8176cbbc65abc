#include "input/pad.h"

#include "input/actions.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

namespace input {

namespace {

// The trigger as a button: the stick directions and the trigger past these
// count as pressed, and back inside the lower mark as released, so a
// resting hand does not flicker between them.
constexpr double kPressAt = 0.6;
constexpr double kReleaseAt = 0.35;
constexpr int kTrigger = 100;

// The keyboard's ring on a page that takes no actions.
int keyFor(int action)
{
    switch (action) {
    case Actions::FocusNext:
        return Qt::Key_Tab;
    case Actions::FocusPrevious:
        return Qt::Key_Backtab;
    case Actions::Confirm:
        return Qt::Key_Return;
    case Actions::Cancel:
        return Qt::Key_Escape;
    default:
        return 0;
    }
}

} // namespace

Pad::Pad(Actions &actions, QObject *parent) : QObject(parent), to(actions) {}

int Pad::actionFor(int c) const
{
    if (to.interlude()) {
        switch (c) {
        case A:
        case Up:
            return Actions::Jump;
        case Down:
            return Actions::Drop;
        case Left:
            return Actions::WalkLeft;
        case Right:
            return Actions::WalkRight;
        case kTrigger:
            return Actions::Fire;
        case B:
            return Actions::Cancel;
        case Start:
            return Actions::Menu;
        default:
            return -1;
        }
    }
    switch (c) {
    case A:
        return Actions::Confirm;
    case B:
        return Actions::Cancel;
    case X:
        return Actions::HideBox;
    case Y:
        return Actions::Backlog;
    case L1:
        return Actions::Back;
    case R1:
        return Actions::Forward;
    case kTrigger:
        return Actions::SkipHeld;
    case Start:
        return Actions::Menu;
    case Up:
    case Left:
        return Actions::FocusPrevious;
    case Down:
    case Right:
        return Actions::FocusNext;
    default:
        return -1;
    }
}

void Pad::button(Button b, bool down)
{
    control(b, down);
}

void Pad::control(int c, bool down)
{
    if (down) {
        if (started.contains(c))
            return;
        const int action = actionFor(c);
        if (action < 0)
            return;
        started.insert(c, action);
        deliver(action, true);
    } else if (started.contains(c)) {
        deliver(started.take(c), false);
    }
}

void Pad::deliver(int action, bool down)
{
    const auto a = Actions::Action(action);
    if (to.taken()) {
        if (down)
            to.press(a);
        else
            to.release(a);
        return;
    }
    const int key = keyFor(action);
    QWindow *window = QGuiApplication::focusWindow();
    if (!key || !window)
        return;
    const Qt::KeyboardModifiers mods = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, mods);
    QCoreApplication::sendEvent(window, &event);
}

void Pad::stick(int low, int high, int &zone, double value)
{
    int now = zone;
    if (value <= -kPressAt)
        now = -1;
    else if (value >= kPressAt)
        now = 1;
    else if (qAbs(value) < kReleaseAt)
        now = 0;
    if (now == zone)
        return;
    if (zone)
        control(zone < 0 ? low : high, false);
    zone = now;
    if (zone)
        control(zone < 0 ? low : high, true);
}

void Pad::axis(Axis a, double value)
{
    switch (a) {
    case LeftX:
        stick(Left, Right, leftZoneX, value);
        break;
    case LeftY:
        stick(Up, Down, leftZoneY, value);
        break;
    case RightTrigger: {
        const bool down = trigger ? value >= kReleaseAt : value >= kPressAt;
        if (down != trigger) {
            trigger = down;
            control(kTrigger, down);
        }
        break;
    }
    case RightX:
    case RightY:
        (a == RightX ? aimX : aimY) = value;
        // A stick at rest keeps the last aim, as a pointer left still does.
        if (to.interlude() && aimX * aimX + aimY * aimY >= kPressAt * kPressAt)
            to.aim(aimX, aimY);
        break;
    }
}

void Pad::reset()
{
    const QList<int> held = started.keys();
    for (int c : held)
        control(c, false);
    leftZoneX = leftZoneY = 0;
    trigger = false;
}

} // namespace input
