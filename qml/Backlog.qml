import QtQuick 2.9
import QtQuick.Controls 2.2
import "."

// The lines read in this story, newest at the bottom. It only shows what the
// story publishes; closing it leaves the story where it was.
Rectangle {
    id: backlog

    property bool open: false
    property alias list: rowList

    function show() {
        Controller.backlog1(1)
        open = true
        rowList.positionViewAtEnd()
    }

    function hide() {
        open = false
        Controller.backlog1(0)
    }

    function scroll(rows) {
        rowList.contentY = Math.max(rowList.originY,
                                    Math.min(rowList.contentY + rows * 40,
                                             rowList.originY + rowList.contentHeight - rowList.height))
    }

    objectName: "backlog"
    z: 16
    width: 720
    height: 480
    color: "#101420"
    visible: open

    // Clicks stay here: a left click must not step the story underneath.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: {
            if (mouse.button === Qt.RightButton)
                backlog.hide()
        }
        onWheel: backlog.scroll(wheel.angleDelta.y > 0 ? -1 : 1)
    }

    Text {
        x: 30
        y: 14
        text: qsTr("记录")
        color: Theme.accent
        font.pointSize: 16
        font.italic: true
    }

    Text {
        x: 420
        y: 20
        width: 270
        horizontalAlignment: Text.AlignRight
        text: qsTr("Esc 或右键关闭")
        color: "#999999"
        font.pointSize: 9
    }

    ListView {
        id: rowList
        objectName: "backlogList"
        x: 30
        y: 50
        width: 660
        height: 415
        clip: true
        spacing: 10
        boundsBehavior: Flickable.StopAtBounds
        model: backlog.open && typeof backlogRows !== "undefined" && backlogRows ? backlogRows : []
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        onCountChanged: positionViewAtEnd()

        delegate: Row {
            objectName: "backlogRow"
            property string rowName: modelData.name
            property string rowText: modelData.text
            width: rowList.width - 14
            spacing: 12

            Text {
                width: 80
                text: modelData.name
                color: "#a9c4ff"
                font.pointSize: 11
                font.bold: true
                horizontalAlignment: Text.AlignRight
            }
            Text {
                width: parent.width - 92
                text: modelData.text
                textFormat: Text.RichText
                color: "#f0f0f0"
                font.pointSize: 11
                wrapMode: Text.WordWrap
            }
        }
    }
}
