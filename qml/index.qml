import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

Page {
    id: page
    objectName: "indexPage"
    width: 720
    height: 480
    focus: true

    // Without a script there is no story to start or to load into.
    readonly property string scriptTrouble: Story.scriptProblem

    // With 朗读 on, the page says where the player is; Tab reads each button.
    Component.onCompleted: Controller.say1("Solvane，标题页")

    Keys.onEscapePressed: {
        if (endingCardView.open)
            endingCardView.open = false
        else
            exitDialog.open = true
        event.accepted = true
    }
    Keys.onPressed: {
        if (endingCardView.open) {
            endingCardView.open = false
            event.accepted = true
        } else if (!exitDialog.open && page.scriptTrouble === ""
                   && (event.key === Qt.Key_Return || event.key === Qt.Key_Enter)) {
            // Reading by keyboard starts here.
            Controller.navigategame("index")
            event.accepted = true
        }
    }

    Rectangle {
        x: -100
        y: -100
        z: -10
        width: 1000
        height: 700
        color: Theme.backdrop
    }

    Picture {
        objectName: "titleBackground"
        width: 720
        height: 480
        z: -2
        source: Theme.png("ib")
    }

    Rectangle {
        objectName: "scriptProblem"
        visible: page.scriptTrouble !== ""
        x: 20
        y: 20
        width: problemText.implicitWidth + 24
        height: problemText.implicitHeight + 12
        radius: 4
        color: "#cc000000"
        Text {
            id: problemText
            anchors.centerIn: parent
            text: page.scriptTrouble
            color: "#ffffff"
            font.pointSize: 12
        }
    }

    OutlinedTitle {
        objectName: "titleText"
        anchors.fill: parent
        anchors.leftMargin: 0
        anchors.rightMargin: 111
        anchors.topMargin: 393
        anchors.bottomMargin: -2
        text: "Solvane"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    component MenuButton: KeyButton {
        id: menuButton
        property string label
        spoken: label
        width: 100
        anchors.centerIn: parent
        hoverEnabled: true
        background: Rectangle {
            color: Theme.transparent
            border.width: 0
        }
        contentItem: Text {
            width: 100
            text: menuButton.label
            color: menuButton.hovered ? Theme.accent : "#ffffff"
            scale: menuButton.hovered ? 1.15 : 1.0
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            font.underline: true
            font.italic: true
        }
    }

    MenuButton {
        objectName: "startButton"
        label: qsTr("开始")
        anchors.horizontalCenterOffset: 305
        anchors.verticalCenterOffset: 27
        enabled: page.scriptTrouble === ""
        opacity: enabled ? 1 : 0.4
        onClicked: Controller.navigategame("index")
    }
    MenuButton {
        objectName: "loadButton"
        label: qsTr("读取")
        anchors.horizontalCenterOffset: 292
        anchors.verticalCenterOffset: 67
        enabled: page.scriptTrouble === ""
        opacity: enabled ? 1 : 0.4
        onClicked: Controller.navigateload("index")
    }
    MenuButton {
        objectName: "extraButton"
        label: qsTr("鉴赏")
        anchors.horizontalCenterOffset: 278
        anchors.verticalCenterOffset: 107
        onClicked: Controller.navigateextra()
    }
    // Beside 鉴赏, out of the column, once there is a branch to show.
    MenuButton {
        objectName: "routeButton"
        label: qsTr("路线")
        anchors.horizontalCenterOffset: 178
        anchors.verticalCenterOffset: 107
        visible: typeof routeMap !== "undefined" && routeMap !== null && routeMap.anyReached
        onClicked: Controller.navigateroute("index")
    }
    MenuButton {
        objectName: "settingButton"
        label: qsTr("设置")
        anchors.horizontalCenterOffset: 267
        anchors.verticalCenterOffset: 146
        onClicked: Controller.navigatesetting("index")
    }
    MenuButton {
        objectName: "exitButton"
        label: qsTr("退出")
        anchors.horizontalCenterOffset: 254
        anchors.verticalCenterOffset: 186
        onClicked: exitDialog.open = true
    }

    Item {
        width: 720
        height: 480

        ConfirmDialog {
            id: exitDialog
            objectName: "exitDialog"
            width: 300
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -7
            message: qsTr("确定要退出程序吗？")
            onCancelled: exitDialog.open = false
            onConfirmed: Controller.exit1()
        }
    }

    // After an ending, its title comes first; a click or a key shows the title page.
    Rectangle {
        id: endingCardView
        property bool open: Story.endingCard.length > 0

        objectName: "endingCardView"
        onOpenChanged: if (open) Controller.say1("结局，" + Story.endingCard)
        x: -100
        y: -100
        z: 20
        width: 1000
        height: 700
        color: "#000000"
        visible: open
        opacity: open ? 1 : 0
        Behavior on opacity {
            NumberAnimation { duration: 600 }
        }

        Column {
            x: 100
            y: 100 + 240 - height / 2
            width: 720
            spacing: 14

            Text {
                width: parent.width
                text: qsTr("— 结局 —")
                color: "#bbbbbb"
                font.pointSize: 12
                horizontalAlignment: Text.AlignHCenter
            }
            Text {
                objectName: "endingCardTitle"
                width: parent.width
                text: endingCardView.open ? Story.endingCard : ""
                color: "#ffffff"
                style: Text.Outline
                styleColor: Theme.accent
                font.pointSize: 26
                font.bold: true
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
            }
        }

        Text {
            x: 100
            y: 100 + 430
            width: 720
            text: qsTr("点击继续")
            color: "#888888"
            font.pointSize: 9
            horizontalAlignment: Text.AlignHCenter
        }

        MouseArea {
            anchors.fill: parent
            enabled: endingCardView.open
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onClicked: endingCardView.open = false
        }
    }
}
