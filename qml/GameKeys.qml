import QtQuick 2.9
import QtQuick.Window 2.2
import Solvane 1.0
import "."

// The story page's keys, as actions. The page hands its key events here;
// which of them go on to other items is decided here too.
Item {
    id: keys

    property Item page
    property Item actions
    property Item backlog
    property Item inputBox

    // -1: not the page's key.
    function actionOf(key) {
        switch (key) {
        case Qt.Key_Space:
        case Qt.Key_Return:
        case Qt.Key_Enter:
            return Input.Step
        case Qt.Key_PageUp:
        case Qt.Key_Up:
            return Input.Back
        case Qt.Key_PageDown:
        case Qt.Key_Down:
            return Input.Forward
        case Qt.Key_Control:
            return Input.SkipHeld
        case Qt.Key_H:
            return Input.HideBox
        case Qt.Key_L:
            return Input.Backlog
        case Qt.Key_F5:
            return Input.QuickSave
        case Qt.Key_F9:
            return Input.QuickLoad
        case Qt.Key_Escape:
            return Input.Cancel
        case Qt.Key_Tab:
            return Input.FocusNext
        case Qt.Key_Backtab:
            return Input.FocusPrevious
        case Qt.Key_V:
            return Input.ReadAloud
        case Qt.Key_F11:
            return Input.FullScreen
        case Qt.Key_W:
            return Input.Jump
        case Qt.Key_S:
            return Input.Drop
        case Qt.Key_A:
            return Input.WalkLeft
        case Qt.Key_D:
            return Input.WalkRight
        case Qt.Key_E:
            return Input.Fire
        }
        return -1
    }

    function isMovement(action) {
        return action === Input.Jump || action === Input.Drop || action === Input.WalkLeft || action === Input.WalkRight
    }

    function pressed(event) {
        var action = actionOf(event.key)
        // A question or the backlog takes every key; a key held down waits for it to close.
        if (actions.openQuestion() || backlog.open) {
            if (!actions.openQuestion() && (event.key === Qt.Key_PageUp || event.key === Qt.Key_PageDown))
                backlog.scroll(event.key === Qt.Key_PageUp ? -8 : 8)
            else if (action >= 0 && !Input.lasts(action))
                actions.press(action)
            event.accepted = true
            return
        }
        if (action < 0) {
            event.accepted = false
            return
        }
        if (action === Input.SkipHeld) {
            if (!event.isAutoRepeat)
                actions.press(action)
            // Passed on.
            event.accepted = false
            return
        }
        if (isMovement(action)) {
            if (!event.isAutoRepeat)
                movementPressed(event.key)
        } else if (action === Input.Step || action === Input.Back || action === Input.Forward) {
            // Keys the field leaves alone reach the page too; reading keys must
            // not step the story from under it.
            if (!inputBox.hasKeys)
                actions.press(action)
        } else if (action === Input.Cancel && page.gamestartVisible) {
            return
        } else if (action === Input.FocusNext || action === Input.FocusPrevious) {
            // From a button the window moves on along its buttons.
            event.accepted = Window.activeFocusItem === page
            if (event.accepted)
                actions.press(action)
            return
        } else {
            actions.press(action)
        }
        event.accepted = true
    }

    function released(event) {
        var action = actionOf(event.key)
        if (isMovement(action)) {
            if (!event.isAutoRepeat)
                movementReleased(event.key)
        } else if (action === Input.SkipHeld) {
            // Skipping lasts exactly as long as Ctrl is held, whether or not a skip ran before.
            if (!event.isAutoRepeat)
                actions.release(action)
            event.accepted = false
            return
        } else if (action !== Input.Fire && action !== Input.Cancel) {
            event.accepted = false
            return
        }
        event.accepted = true
    }

    // The platform repeats a held key as a release and a press at once, and
    // does not always mark them as a repeat; a press that comes while its
    // release is still waiting here is one. A key counts as down from its
    // press to the release that no press follows.
    function movementPressed(key) {
        var waiting = letGoLater.get(key)
        if (waiting.running) {
            waiting.stop()
        } else if (!waiting.down) {
            waiting.down = true
            actions.press(waiting.action)
        }
    }

    function movementReleased(key) {
        var waiting = letGoLater.get(key)
        if (waiting.down)
            waiting.restart()
    }

    component LetGo: Timer {
        property int key
        property int action
        property bool down: false
        interval: 50
        onTriggered: {
            down = false
            keys.actions.release(action)
        }
    }

    QtObject {
        id: letGoLater

        property LetGo w: LetGo { key: Qt.Key_W; action: Input.Jump }
        property LetGo s: LetGo { key: Qt.Key_S; action: Input.Drop }
        property LetGo a: LetGo { key: Qt.Key_A; action: Input.WalkLeft }
        property LetGo d: LetGo { key: Qt.Key_D; action: Input.WalkRight }

        function get(key) {
            return key === Qt.Key_W ? w : key === Qt.Key_S ? s : key === Qt.Key_A ? a : d
        }
    }
}
