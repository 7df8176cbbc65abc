#pragma once

#include <QHash>
#include <QObject>

namespace input {

class Actions;

// A gamepad's buttons and sticks as the player's actions: the same ones the
// keys and the pointer ask for. Any device back end (or a test) feeds it
// what the pad reports; it decides what that means where the player stands.
// Where no page takes actions (the title, settings, the load page, extras),
// the pad moves and presses the keyboard's ring there instead.
class Pad : public QObject
{
    Q_OBJECT

public:
    enum Button { A, B, X, Y, L1, R1, Start, Up, Down, Left, Right };
    Q_ENUM(Button)
    // Sticks from -1 (left, up) to 1; the trigger from 0 to 1.
    enum Axis { LeftX, LeftY, RightX, RightY, RightTrigger };
    Q_ENUM(Axis)

    explicit Pad(Actions &actions, QObject *parent = nullptr);

    void button(Button b, bool down);
    void axis(Axis a, double value);
    // The pad is gone: whatever it held is let go.
    void reset();

private:
    int actionFor(int control) const;
    void control(int control, bool down);
    void deliver(int action, bool down);
    void stick(int lowControl, int highControl, int &zone, double value);

    Actions &to;
    // What each control held down started, so that its release ends the
    // same action even if an interlude began or ended meanwhile.
    QHash<int, int> started;
    int leftZoneX = 0;
    int leftZoneY = 0;
    bool trigger = false;
    double aimX = 0;
    double aimY = 0;
};

} // namespace input
