import QtQuick 2.9
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

// The lines read in this story, newest at the bottom. It only shows what the
// story publishes; closing it leaves the story where it was.
Rectangle {
    id: backlog

    property bool open: false
    property alias list: rowList
    // A row to go back to, clicked or chosen by Enter; the page asks first.
    signal returnAsked(int row)

    function show() {
        Controller.backlog1(1)
        open = true
        rowList.positionViewAtEnd()
    }

    function hide() {
        open = false
        Controller.backlog1(0)
    }

    // Up and Down choose a row, Enter asks to go back to it.
    function step(rows) {
        rowList.currentIndex = Math.max(0, Math.min(rowList.count - 1, rowList.currentIndex + rows))
    }

    function askCurrent() {
        var row = rowList.currentItem
        if (row && row.canReturn)
            returnAsked(rowList.currentIndex)
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
        model: backlog.open ? Story.backlogRows : []
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        onCountChanged: {
            currentIndex = count - 1
            positionViewAtEnd()
        }
        highlightFollowsCurrentItem: true
        highlightMoveDuration: 0
        highlight: Rectangle {
            color: "transparent"
            radius: 3
            border.width: 1
            border.color: Theme.focusRing
        }
        onCurrentIndexChanged: if (currentItem && backlog.open) Controller.say1(currentItem.rowName + "，" + currentItem.rowText)

        delegate: Item {
            id: row
            objectName: "backlogRow"
            property string rowName: modelData.name
            property string rowText: modelData.text
            readonly property bool canReturn: modelData.back === true
            width: rowList.width - 14
            height: words.height

            Row {
                id: words
                width: parent.width
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

            // A click anywhere on a line the story can go back to asks to.
            MouseArea {
                objectName: "backlogRowArea"
                anchors.fill: parent
                enabled: row.canReturn
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: backlog.returnAsked(index)
                Rectangle {
                    anchors.fill: parent
                    color: "#22ffffff"
                    visible: parent.containsMouse
                }
            }
        }
    }
}
