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
    // How far the ring stands out; 0 keeps it inside a button at the window's edge.
    property real ringOutset: 3
    // The one other button the keys go to, both ways, instead of the page's
    // chain: a question's two buttons keep the keyboard between them.
    property Item cycleWith: null

    function moveFocus(forward) {
        var next = cycleWith ? cycleWith : nextItemInFocusChain(forward)
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
    Keys.onTabPressed: {
        event.accepted = cycleWith !== null
        if (event.accepted)
            moveFocus(true)
    }
    Keys.onBacktabPressed: {
        event.accepted = cycleWith !== null
        if (event.accepted)
            moveFocus(false)
    }
    onVisualFocusChanged: if (visualFocus) Controller.say1(spoken)

    Rectangle {
        objectName: "focusRing"
        x: -control.ringOutset
        y: -control.ringOutset
        z: 10
        width: control.width + 2 * control.ringOutset
        height: control.height + 2 * control.ringOutset
        radius: 4
        color: "transparent"
        border.width: 2
        border.color: Theme.focusRing
        visible: control.visualFocus
    }
}
