import QtQuick 2.9
import Solvane 1.0
import "."

// The pointer over the story: a left click steps, a right click hides the
// text box; moving it aims in an interlude and brings up the menu bar at the
// foot of the page.
MouseArea {
    id: pointer

    property Item page
    property Item actions

    function pointerMoved(x, y) {
        Controller.weizhi1(x, y)
        if (y > 450)
            page.kvisible = true
        else if (!page.vsuo)
            page.kvisible = false
    }

    objectName: "pointerArea"
    z: 1
    hoverEnabled: true
    acceptedButtons: Qt.LeftButton | Qt.RightButton

    onClicked: actions.act(mouse.button === Qt.RightButton ? Input.HideBox : Input.Step)
    // Entering the page is a move too: it may land straight on the bar's strip.
    onEntered: pointerMoved(mouseX, mouseY)
    onPositionChanged: pointerMoved(mouse.x, mouse.y)
}
