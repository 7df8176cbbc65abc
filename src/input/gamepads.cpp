#include "input/gamepads.h"

#include "core/log.h"
#include "input/pad.h"

#if defined(SOLVANE_HAVE_QTGAMEPAD)
#include <QGamepad>
#include <QGamepadManager>
#elif defined(_WIN32)
#include <QLibrary>
#include <QTimer>

#include <windows.h>
#include <xinput.h>
#endif

namespace input {

#if defined(SOLVANE_HAVE_QTGAMEPAD)

// Qt Gamepad's own back end (evdev on Linux): devices come and go by signal,
// nothing is polled.
struct Gamepads::Backend {
    Pad &pad;
    QObject *owner;
    QGamepad *current = nullptr;

    void attach()
    {
        if (current)
            return;
        const QList<int> ids = QGamepadManager::instance()->connectedGamepads();
        if (ids.isEmpty())
            return;
        current = new QGamepad(ids.first(), owner);
        qCInfo(lcApp).noquote() << QStringLiteral("手柄已连接：%1").arg(current->name());
        const auto wire = [this](auto signal, Pad::Button b) {
            QObject::connect(current, signal, owner, [this, b](bool down) { pad.button(b, down); });
        };
        wire(&QGamepad::buttonAChanged, Pad::A);
        wire(&QGamepad::buttonBChanged, Pad::B);
        wire(&QGamepad::buttonXChanged, Pad::X);
        wire(&QGamepad::buttonYChanged, Pad::Y);
        wire(&QGamepad::buttonL1Changed, Pad::L1);
        wire(&QGamepad::buttonR1Changed, Pad::R1);
        wire(&QGamepad::buttonStartChanged, Pad::Start);
        wire(&QGamepad::buttonUpChanged, Pad::Up);
        wire(&QGamepad::buttonDownChanged, Pad::Down);
        wire(&QGamepad::buttonLeftChanged, Pad::Left);
        wire(&QGamepad::buttonRightChanged, Pad::Right);
        const auto axis = [this](auto signal, Pad::Axis a) {
            QObject::connect(current, signal, owner, [this, a](double v) { pad.axis(a, v); });
        };
        axis(&QGamepad::axisLeftXChanged, Pad::LeftX);
        axis(&QGamepad::axisLeftYChanged, Pad::LeftY);
        axis(&QGamepad::axisRightXChanged, Pad::RightX);
        axis(&QGamepad::axisRightYChanged, Pad::RightY);
        axis(&QGamepad::buttonR2Changed, Pad::RightTrigger);
        QObject::connect(current, &QGamepad::connectedChanged, owner, [this](bool on) {
            if (on)
                return;
            qCInfo(lcApp).noquote() << QStringLiteral("手柄已断开");
            pad.reset();
            current->deleteLater();
            current = nullptr;
            attach();
        });
    }

    Backend(Pad &p, QObject *o) : pad(p), owner(o)
    {
        QObject::connect(QGamepadManager::instance(), &QGamepadManager::gamepadConnected, owner,
                         [this](int) { attach(); });
        attach();
    }
};

#elif defined(_WIN32)

// XInput, loaded by name: every Windows since 8 has xinput1_4, older ones
// the redistributable's 9.1.0. XInput has no event for a pad plugged in, so
// the first slot is looked at every two seconds, and read 60 times a second
// while a pad is there.
struct Gamepads::Backend {
    using GetState = DWORD(WINAPI *)(DWORD, XINPUT_STATE *);
    Pad &pad;
    QTimer timer;
    GetState getState = nullptr;
    DWORD lastPacket = 0;
    WORD lastButtons = 0;
    bool connected = false;

    Backend(Pad &p, QObject *owner) : pad(p)
    {
        for (const char *name : {"xinput1_4", "xinput9_1_0", "xinput1_3"}) {
            QLibrary library(QString::fromLatin1(name));
            if (library.load()) {
                getState = reinterpret_cast<GetState>(library.resolve("XInputGetState"));
                if (getState)
                    break;
            }
        }
        if (!getState)
            return;
        QObject::connect(&timer, &QTimer::timeout, owner, [this] { poll(); });
        timer.start(2000);
    }

    static double stick(SHORT v) { return v < 0 ? v / 32768.0 : v / 32767.0; }

    void poll()
    {
        XINPUT_STATE state{};
        const bool now = getState(0, &state) == ERROR_SUCCESS;
        if (now != connected) {
            connected = now;
            qCInfo(lcApp).noquote() << (now ? QStringLiteral("手柄已连接") : QStringLiteral("手柄已断开"));
            if (!now) {
                pad.reset();
                lastButtons = 0;
            }
            timer.start(now ? 16 : 2000);
        }
        if (!now || state.dwPacketNumber == lastPacket)
            return;
        lastPacket = state.dwPacketNumber;
        const XINPUT_GAMEPAD &g = state.Gamepad;
        static const struct { WORD bit; Pad::Button button; } buttons[] = {
            {XINPUT_GAMEPAD_A, Pad::A}, {XINPUT_GAMEPAD_B, Pad::B}, {XINPUT_GAMEPAD_X, Pad::X},
            {XINPUT_GAMEPAD_Y, Pad::Y}, {XINPUT_GAMEPAD_LEFT_SHOULDER, Pad::L1},
            {XINPUT_GAMEPAD_RIGHT_SHOULDER, Pad::R1}, {XINPUT_GAMEPAD_START, Pad::Start},
            {XINPUT_GAMEPAD_DPAD_UP, Pad::Up}, {XINPUT_GAMEPAD_DPAD_DOWN, Pad::Down},
            {XINPUT_GAMEPAD_DPAD_LEFT, Pad::Left}, {XINPUT_GAMEPAD_DPAD_RIGHT, Pad::Right},
        };
        for (const auto &b : buttons) {
            if ((g.wButtons ^ lastButtons) & b.bit)
                pad.button(b.button, g.wButtons & b.bit);
        }
        lastButtons = g.wButtons;
        // XInput's sticks point up with positive y; the pad's point down.
        pad.axis(Pad::LeftX, stick(g.sThumbLX));
        pad.axis(Pad::LeftY, -stick(g.sThumbLY));
        pad.axis(Pad::RightX, stick(g.sThumbRX));
        pad.axis(Pad::RightY, -stick(g.sThumbRY));
        pad.axis(Pad::RightTrigger, g.bRightTrigger / 255.0);
    }
};

#else

struct Gamepads::Backend {
    Backend(Pad &, QObject *) {}
};

#endif

Gamepads::Gamepads(Pad &pad, QObject *parent) : QObject(parent), backend(new Backend(pad, this)) {}

Gamepads::~Gamepads()
{
    delete backend;
}

} // namespace input
