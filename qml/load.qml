import QtQuick 2.15
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

// The saves, newest first: row i is slot saveCount - i, worked out again at
// every use, since a delete renumbers the slots under the rows.
Page {
    id: page
    objectName: "loadPage"

    // The slot the delete dialog asks about; 0 while it is closed.
    property int pendingDrop: 0

    function slotOf(row) {
        return Controller.saveCount - row
    }

    // A slot whose screenshot failed has no file: an empty source, not a warning.
    function thumbnail(slot, tag) {
        if (slot < 0 || !Controller.fileExists("saves/" + slot + ".png"))
            return ""
        return "file:///" + exePath + "/saves/" + slot + ".png" + tag
    }

    // A refused load says why here, instead of opening the story where it was.
    property bool refused: false
    Connections {
        target: Saves
        function onNoticed() { page.refused = true }
    }

    function loadRow(row) {
        refused = false
        Controller.loadSave(slotOf(row))
        if (!refused)
            Controller.navigategame("load")
    }

    function askDrop(row) {
        pendingDrop = slotOf(row)
        dropDialog.open = true
    }

    width: 720
    height: 480
    font.family: "Times New Roman"
    background: Item {}
    focus: true

    Component.onCompleted: {
        if (typeof Controller === "undefined") {
            console.log(Theme.trace, "Controller未定义!")
            return
        }
        Controller.requestSaveCount()
    }

    PageFrame {
        id: frame
        pictureZ: -1
        panelZ: -1
        title: qsTr("读取存档")
        titleItem.anchors.horizontalCenter: frame.horizontalCenter
        titleItem.y: 30
        backButton.x: 30
        backButton.y: 30
        backButton.width: 97
        backButton.height: 43
        onBack: {
            console.log(Theme.trace, "1111111111")
            if (Controller.getLastSource() === "game")
                Controller.navigategame("load")
            else
                Controller.navigateindex()
        }
    }

    // A new count rebuilds every row: emptied now, filled on the next turn,
    // so each row and its picture are made afresh for the slot it now shows.
    Timer {
        id: rebuild
        property int count: 0
        interval: 0
        onTriggered: rows.model = count
    }

    Connections {
        target: Controller
        function onSaveCountChanged(count) {
            rows.model = 0
            rebuild.count = count
            rebuild.restart()
        }
    }

    ListView {
        id: rows
        objectName: "saveList"
        x: 40
        y: frame.titleItem.y + frame.titleItem.height + 20 + 30
        width: 640
        height: 470 - 30 - y
        spacing: 15
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        reuseItems: true
        model: Controller.saveCount
        ScrollBar.vertical: ScrollBar {}

        // The quick slot (F5 / F9) stands above the numbered saves, apart from them.
        header: Item {
            id: quickRow
            objectName: "quickRow"
            readonly property bool present: Saves.quickSaveLine > 0
            width: rows.width
            height: present ? 65 : 0
            visible: present

            Image {
                objectName: "quickThumb"
                width: 75
                height: 50
                fillMode: Image.PreserveAspectFit
                sourceSize.width: 75
                sourceSize.height: 50
                asynchronous: true
                cache: false
                source: quickRow.present && Controller.fileExists("saves/quick.png")
                        ? "file:///" + exePath + "/saves/quick.png?line=" + Saves.quickSaveLine : ""
            }

            KeyButton {
                objectName: "quickLoad"
                x: 75
                width: parent.width - 75
                height: 50
                leftPadding: 10
                text: qsTr("快速存档")
                font.pointSize: 18
                background: Rectangle {
                    color: "#e6ffffff"
                    border.width: 2
                    border.color: Theme.accent
                }
                contentItem: Column {
                    spacing: 1
                    Text {
                        text: qsTr("快速存档")
                        font.pointSize: 18
                        color: Theme.accent
                    }
                    Text {
                        width: parent.width
                        elide: Text.ElideRight
                        color: "#555555"
                        font.pointSize: 9
                        text: quickRow.present ? Saves.quickCaption() : ""
                    }
                }
                onClicked: {
                    page.refused = false
                    Controller.quickLoad1(1)
                    if (!page.refused)
                        Controller.navigategame("load")
                }
            }
        }

        delegate: Item {
            id: row
            objectName: "saveRow" + index
            width: rows.width
            height: 50

            Image {
                id: picture
                objectName: "saveThumb" + index
                width: 75
                height: 50
                anchors.verticalCenter: parent.verticalCenter
                fillMode: Image.PreserveAspectFit
                // Decoded at the size shown: a thousand screenshots stay small.
                sourceSize.width: 75
                sourceSize.height: 50
                asynchronous: true
                cache: false
                source: page.thumbnail(page.slotOf(index), row.refreshTag)
            }

            // A query that changes makes the loader read a replaced file afresh;
            // the address stays a binding, so a reused row follows its new slot.
            property string refreshTag: ""
            ListView.onReused: refreshTag = ""

            Text {
                objectName: "saveNoPicture" + index
                width: 75
                height: 50
                visible: picture.source.toString() === ""
                text: qsTr("无截图")
                color: "gray"
                font.pointSize: 9
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }

            Connections {
                target: Controller
                function onRefreshImagesRequested() {
                    row.refreshTag = ""
                    row.refreshTag = "?t=" + Date.now()
                    console.log(Theme.trace, "刷新")
                }
            }

            KeyButton {
                id: loadButton
                objectName: "saveLoad" + index
                x: picture.width
                width: dropButton.x - x
                height: parent.height
                leftPadding: 10
                rightPadding: 10
                text: qsTr("存档 ") + (index + 1)
                font.pointSize: 18
                background: Rectangle {
                    color: "#e6ffffff"
                    radius: 0
                    border.width: 0
                }
                contentItem: Column {
                    spacing: 1
                    Text {
                        objectName: "saveLabel" + index
                        text: loadButton.text
                        font: loadButton.font
                    }
                    Text {
                        objectName: "saveCaption" + index
                        width: loadButton.availableWidth
                        elide: Text.ElideRight
                        color: "#555555"
                        font.pointSize: 9
                        text: Saves.caption(page.slotOf(index))
                    }
                }
                onClicked: page.loadRow(index)
            }

            KeyButton {
                id: dropButton
                objectName: "saveDrop" + index
                spoken: "删除" + loadButton.text
                x: parent.width - width
                width: 50
                height: parent.height
                contentItem: Text {
                    text: "×"
                    color: "#ffffff"
                    font.pointSize: 20
                    font.bold: true
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    color: Theme.accent
                    radius: 4
                    Rectangle { x: 0; y: 0; width: 10; height: 10; color: Theme.accent }
                    Rectangle { x: 0; y: 40; width: 10; height: 10; color: Theme.accent }
                }
                onClicked: page.askDrop(index)
            }
        }

        footer: Text {
            objectName: "noSaves"
            width: rows.width
            height: visible ? implicitHeight : 0
            readonly property bool problem: Saves.listProblem !== ""
            visible: Controller.saveCount === 0 && (problem || Saves.quickSaveLine <= 0)
            text: problem ? Saves.listProblem : qsTr("暂无存档")
            font.italic: true
            font.pointSize: 18
            color: "gray"
            horizontalAlignment: Text.AlignHCenter
        }
    }

    // A delete cannot be undone: one misclick must not cost a save.
    Rectangle {
        objectName: "dropShade"
        anchors.fill: parent
        z: 19
        color: "#66000000"
        visible: dropDialog.open
        MouseArea { anchors.fill: parent }
    }

    ConfirmDialog {
        id: dropDialog
        objectName: "dropDialog"
        z: 20
        width: 300
        anchors.centerIn: parent
        message: qsTr("确定要删除存档 ") + (Controller.saveCount - page.pendingDrop + 1) + qsTr(" 吗？")
        onCancelled: {
            open = false
            page.pendingDrop = 0
        }
        onConfirmed: {
            open = false
            var slot = page.pendingDrop
            page.pendingDrop = 0
            Controller.dropsaves(slot)
        }
    }

    SaveNotice {}
}
