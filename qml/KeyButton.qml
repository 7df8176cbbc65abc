import QtQuick 2.9
import QtQuick.Controls 2.2
import "."

// A button the keyboard reaches: Tab and the arrow keys move among a page's
// buttons, Enter and Space press, and the one reached wears a ring and, with
// 朗读 on, is read aloud. A click never hands it the keyboard, so a page's
// own keys go on working after one.
Button {
    id: control

    // What is read aloud when the keyboard reaches it.
    property string spoken: text

    function moveFocus(forward) {
        var next = nextItemInFocusChain(forward)
        if (next)
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }

    focusPolicy: Qt.TabFocus
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    Keys.onUpPressed: moveFocus(false)
    Keys.onLeftPressed: moveFocus(false)
    Keys.onDownPressed: moveFocus(true)
    Keys.onRightPressed: moveFocus(true)
    onVisualFocusChanged: if (visualFocus) Controller.say1(spoken)

    Rectangle {
        objectName: "focusRing"
        x: -3
        y: -3
        z: 10
        width: control.width + 6
        height: control.height + 6
        radius: 4
        color: "transparent"
        border.width: 2
        border.color: Theme.focusRing
        visible: control.visualFocus
    }
}
