import QtQuick 2.9
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

// The bar at the foot of the game page with its three dialogs. The page owns
// the state; the bar only asks the page's actions to open and close the dialogs.
Item {
    id: menuBar

    property Item actions
    property alias saveDialog: saveDialog
    property alias returnDialog: returnDialog
    property alias quitDialog: quitDialog
    // Where Tab and Shift+Tab enter the bar from the page.
    property alias firstButton: firstButton
    property alias lastButton: lastButton

    // True while one of the bar's buttons has the keyboard.
    function hasKeys(item) {
        return item !== null && item.parent === menuBar
    }

    objectName: "menuBar"
    y: 452
    z: 10
    width: 720
    height: 28

    component MenuButton: KeyButton {
        id: menuButton
        width: 90
        height: 28
        anchors.centerIn: parent
        ringOutset: 0
        background: Rectangle {
            color: "transparent"
        }
        contentItem: Text {
            text: menuButton.text
            color: "#ffffff"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    // White labels on this strip keep at least 5.7:1 even over a white picture,
    // where the accent alone drops to about 2:1.
    Rectangle {
        objectName: "menuStrip"
        z: -1
        width: 720
        height: 28
        color: "#99000000"
    }

    // In the strip's left end, as 记录 is in its right; the strip's edge
    // left of it stays a place to click on.
    MenuButton {
        objectName: "menuRoute"
        width: 28
        anchors.horizontalCenterOffset: -333
        text: qsTr("路线")
        onClicked: Controller.navigateroute("game")
    }
    MenuButton {
        id: firstButton
        objectName: "menuSave"
        anchors.horizontalCenterOffset: -273
        text: qsTr("存档")
        onClicked: menuBar.actions.act(Input.Save)
    }
    MenuButton {
        objectName: "menuLoad"
        anchors.horizontalCenterOffset: -182
        text: qsTr("读取")
        onClicked: Controller.navigateload("game")
    }
    MenuButton {
        objectName: "menuSkip"
        anchors.horizontalCenterOffset: -91
        text: qsTr("快进")
        onClicked: menuBar.actions.act(Input.Skip)
    }
    MenuButton {
        objectName: "menuAuto"
        anchors.horizontalCenterOffset: 0
        text: qsTr("自动")
        onClicked: menuBar.actions.act(Input.Auto)
    }
    MenuButton {
        objectName: "menuSetting"
        anchors.horizontalCenterOffset: 91
        text: qsTr("设置")
        onClicked: Controller.navigatesetting("game")
    }
    MenuButton {
        objectName: "menuReturn"
        anchors.horizontalCenterOffset: 182
        text: qsTr("返回")
        onClicked: menuBar.actions.openDialog(returnDialog)
    }
    MenuButton {
        objectName: "menuQuit"
        anchors.horizontalCenterOffset: 273
        text: qsTr("退出")
        onClicked: menuBar.actions.openDialog(quitDialog)
    }

    // In the strip's right end, clear of the seven buttons.
    MenuButton {
        id: lastButton
        objectName: "menuBacklog"
        width: 34
        anchors.horizontalCenterOffset: 339
        text: qsTr("记录")
        onClicked: {
            menuBar.actions.leaveBar()
            menuBar.actions.page.kvisible = false
            menuBar.actions.act(Input.Backlog)
        }
    }

    ConfirmDialog {
        id: saveDialog
        objectName: "saveDialog"
        anchors.centerIn: parent
        width: 384
        anchors.verticalCenterOffset: -231
        message: qsTr("确定要保存吗？")
        onCancelled: menuBar.actions.closeDialog(saveDialog)
        onConfirmed: {
            menuBar.actions.closeDialog(saveDialog)
            Controller.save1()
        }
    }
    ConfirmDialog {
        id: returnDialog
        objectName: "returnDialog"
        anchors.centerIn: parent
        width: 300
        anchors.horizontalCenterOffset: -2
        anchors.verticalCenterOffset: -234
        message: qsTr("确定要返回吗？")
        onCancelled: menuBar.actions.closeDialog(returnDialog)
        onConfirmed: Controller.navigateindex()
    }
    ConfirmDialog {
        id: quitDialog
        objectName: "quitDialog"
        anchors.centerIn: parent
        width: 384
        anchors.verticalCenterOffset: -231
        message: qsTr("确定要退出程序吗？")
        onCancelled: menuBar.actions.closeDialog(quitDialog)
        onConfirmed: Controller.exit1()
    }
}
