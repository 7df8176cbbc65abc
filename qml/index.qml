import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.2

Page {
    id: page
    objectName: "indexPage"
    width: 720
    height: 480
    focus: true

    Keys.onEscapePressed: {
        exitDialog.visible = true
        event.accepted = true
    }

    Rectangle {
        x: -100
        y: -100
        z: -10
        width: 1000
        height: 700
        color: "#000000"
    }

    Image {
        objectName: "titleBackground"
        width: 720
        height: 480
        z: -2
        source: "file:///" + exePath + "/png/ib.png"
    }

    Text {
        objectName: "titleText"
        anchors.fill: parent
        anchors.leftMargin: 0
        anchors.rightMargin: 111
        anchors.topMargin: 393
        anchors.bottomMargin: -2
        text: "Solvane"
        color: "#ffffff"
        font.bold: true
        font.italic: true
        font.pointSize: 42
        style: Text.Outline
        styleColor: "#6496fa"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    component MenuButton: Button {
        property string label
        width: 100
        anchors.centerIn: parent
        background: Rectangle {
            color: "#00ffffff"
            border.width: 0
        }
        contentItem: Text {
            width: 100
            text: parent.label
            color: "#ffffff"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            font.underline: true
            font.italic: true
        }
    }

    MenuButton {
        objectName: "startButton"
        label: "开始"
        anchors.horizontalCenterOffset: 305
        anchors.verticalCenterOffset: 27
        onClicked: Controller.navigategame("index")
    }
    MenuButton {
        objectName: "loadButton"
        label: "读取"
        anchors.horizontalCenterOffset: 292
        anchors.verticalCenterOffset: 67
        onClicked: Controller.navigateload("index")
    }
    MenuButton {
        objectName: "extraButton"
        label: "鉴赏"
        anchors.horizontalCenterOffset: 278
        anchors.verticalCenterOffset: 107
        onClicked: Controller.navigateextra()
    }
    MenuButton {
        objectName: "settingButton"
        label: "设置"
        anchors.horizontalCenterOffset: 267
        anchors.verticalCenterOffset: 146
        onClicked: Controller.navigatesetting("index")
    }
    MenuButton {
        objectName: "exitButton"
        label: "退出"
        anchors.horizontalCenterOffset: 254
        anchors.verticalCenterOffset: 186
        onClicked: exitDialog.visible = true
    }

    Item {
        width: 720
        height: 480

        Rectangle {
            id: exitDialog
            objectName: "exitDialog"
            width: 300
            height: 150
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -7
            color: "#e6ffffff"
            border.width: 1
            visible: false

            Text {
                anchors.centerIn: parent
                text: "确定要退出程序吗？"
            }

            Row {
                width: 220
                height: 41
                spacing: 20
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 8
                anchors.horizontalCenter: parent.horizontalCenter

                Button {
                    objectName: "exitCancel"
                    width: 100
                    height: 41
                    text: "取消"
                    onClicked: exitDialog.visible = false
                }
                Button {
                    objectName: "exitConfirm"
                    width: 100
                    height: 41
                    text: "确定"
                    onClicked: Controller.exit1()
                }
            }
        }
    }
}
