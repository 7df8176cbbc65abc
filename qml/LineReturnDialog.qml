import QtQuick 2.9
import QtQuick.Controls 2.2
import "."

// "回到这一句吗？": the backlog's rows and the line paged back to with the wheel
// take the story back there once the player says so.
ConfirmDialog {
    id: dialog

    property int row: -1
    signal returned()

    function ask(backlogRow) {
        row = backlogRow
        open = true
    }

    // The line paged back to, if the story can go back there; false otherwise,
    // and the click is the story's as before.
    function askViewed() {
        var viewed = lineReturn.viewedRow()
        if (viewed < 0)
            return false
        ask(viewed)
        return true
    }

    objectName: "lineReturnDialog"
    z: 20
    width: 300
    anchors.centerIn: parent
    message: qsTr("回到这一句吗？")
    onCancelled: open = false
    onConfirmed: {
        open = false
        if (lineReturn.returnTo(row))
            returned()
    }
}
