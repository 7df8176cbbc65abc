#pragma once

#include <QObject>

namespace input {

class Pad;

// The machine's gamepads, fed to a Pad: the first one connected, and the
// next when it goes; one plugged in later is picked up. Made after the
// first frame, so a player without one pays nothing at start.
class Gamepads : public QObject
{
    Q_OBJECT

public:
    explicit Gamepads(Pad &pad, QObject *parent = nullptr);
    ~Gamepads() override;

private:
    struct Backend;
    Backend *backend = nullptr;
};

} // namespace input
