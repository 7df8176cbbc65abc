#pragma once

#include <QObject>

namespace input {

// What the player can ask of the story page, named once for every device:
// the page's own keys and pointer, a gamepad, or a test that plays without
// one. A device presses and releases; the actions that last while held end
// at the release, the others act at the press. What an action does where
// the page stands (a question open, the backlog, the opening cover) is the
// page's to decide.
class Actions : public QObject
{
    Q_OBJECT
    // An interlude is on the page: a pad's buttons walk, jump and fire there.
    Q_PROPERTY(bool interlude READ interlude WRITE setInterlude NOTIFY interludeChanged)

public:
    enum Action {
        Step,          // the next line, as a left click
        Back,          // an earlier line, as the wheel up
        Forward,       // a later one, as the wheel down
        SkipHeld,      // skipping while held
        Skip,          // 快进 on or off
        Auto,          // 自动 on or off
        HideBox,       // the text box hidden or shown
        Backlog,       // opened, or closed again
        Save,          // the save question
        QuickSave,
        QuickLoad,
        Menu,          // the menu bar with the keyboard's ring on it, or closed again
        Answer1,
        Answer2,
        Confirm,       // the button the ring is on; with none, a step
        Cancel,        // 取消, closing what is open, or the question to go back to the title
        FocusNext,     // the ring to the next button
        FocusPrevious,
        ReadAloud,     // 朗读 on or off
        FullScreen,    // windowed and full screen trade places
        WalkLeft,      // the interlude's figure, held
        WalkRight,
        Jump,
        Drop,
        Fire,          // one shot
    };
    Q_ENUM(Action)

    explicit Actions(QObject *parent = nullptr);

    // Whether the action lasts from its press to its release.
    Q_INVOKABLE static bool lasts(int action);

    Q_INVOKABLE void press(input::Actions::Action action);
    Q_INVOKABLE void release(input::Actions::Action action);
    // Aim the interlude's shots along (dx, dy) from the figure, as the pointer does.
    Q_INVOKABLE void aim(double dx, double dy);
    // Whether a page takes actions now; where none does, a device speaks keys.
    bool taken() const;

    bool interlude() const { return interludeOn; }
    void setInterlude(bool on);

signals:
    void pressed(input::Actions::Action action);
    void released(input::Actions::Action action);
    void aimed(double dx, double dy);
    void interludeChanged(bool on);

private:
    bool interludeOn = false;
};

// The process's one set, which QML knows as Input (import Solvane 1.0).
Actions &actions();

} // namespace input
