import QtQuick 2.9
import Solvane 1.0
import "."

// A short word after a save, load or delete: "已保存", or why it did not work.
// Only notices that come while the page is up are shown, not an old one.
Rectangle {
    id: notice

    property alias text: label.text

    function show(text) {
        label.text = text
        visible = text.length > 0
        // A failure stays long enough to be read.
        hideTimer.interval = label.text === qsTr("已保存") ? 1500 : 4000
        hideTimer.restart()
    }

    objectName: "saveNotice"
    x: 720 - width - 16
    y: 16
    z: 30
    width: label.implicitWidth + 24
    height: 32
    radius: 4
    color: Theme.dialog
    border.width: 1
    border.color: Theme.accent
    visible: false

    Connections {
        target: Saves
        function onNoticed(text) { notice.show(text) }
    }

    Text {
        id: label
        objectName: "saveNoticeText"
        anchors.centerIn: parent
        color: Theme.accent
        font.pointSize: 12
    }

    Timer {
        id: hideTimer
        objectName: "saveNoticeTimer"
        onTriggered: notice.visible = false
    }
}
