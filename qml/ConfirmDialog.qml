import QtQuick 2.9
import QtQuick.Controls 2.2
import QtQuick.Window 2.2
import "."

// A question with "取消" and "确定". What each does is left to the owner;
// the buttons are named after the dialog ("saveDialog": "saveCancel", "saveConfirm").
Rectangle {
    id: dialog

    property bool open: false
    property alias message: messageText.text
    signal cancelled()
    signal confirmed()

    // The keyboard comes to 取消 while the question is open (read aloud with
    // 朗读 on) and goes back where it was after.
    property Item keysBefore: null
    onOpenChanged: {
        Controller.dialog1(open ? 1 : 0)
        if (open) {
            keysBefore = Window.activeFocusItem
            cancelButton.forceActiveFocus(Qt.TabFocusReason)
            Controller.say1(message + "。" + cancelButton.text)
        } else if (keysBefore) {
            // Or the page, a focus scope, would hand the keys back to a hidden button.
            cancelButton.focus = false
            confirmButton.focus = false
            keysBefore.forceActiveFocus()
            keysBefore = null
        }
    }

    // For a page whose keys arrive while the question is open.
    function takeKeys() {
        cancelButton.forceActiveFocus(Qt.TabFocusReason)
    }

    // Whether the ring is on one of its buttons, for actions that come without a key.
    function hasKeys(item) {
        return item === cancelButton || item === confirmButton
    }

    height: 150
    color: Theme.dialog
    border.width: 1
    visible: open

    // Nothing behind the question may answer it or move the story under it:
    // every key stays here, Esc is 取消. Ctrl's release still goes on, so a
    // skip held before the question stops when the key is let go.
    Keys.onPressed: {
        if (event.key === Qt.Key_Escape)
            dialog.cancelled()
        event.accepted = true
    }
    Keys.onReleased: event.accepted = event.key !== Qt.Key_Control

    // The page behind is dimmed so that nothing reads through the question; a
    // click there is 取消, and neither it nor the wheel reaches the page.
    Rectangle {
        objectName: dialog.objectName + "Dim"
        anchors.centerIn: parent
        width: 4000
        height: 4000
        z: -1
        color: Theme.dim

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onClicked: dialog.cancelled()
            onWheel: wheel.accepted = true
        }
    }

    // A click on the panel itself does nothing.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onWheel: wheel.accepted = true
    }

    Text {
        id: messageText
        anchors.centerIn: parent
    }

    Row {
        spacing: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8
        anchors.horizontalCenter: parent.horizontalCenter

        KeyButton {
            id: cancelButton
            objectName: dialog.objectName.replace("Dialog", "Cancel")
            width: 100
            height: 41
            cycleWith: confirmButton
            text: qsTr("取消")
            onClicked: dialog.cancelled()
        }
        KeyButton {
            id: confirmButton
            objectName: dialog.objectName.replace("Dialog", "Confirm")
            width: 100
            height: 41
            cycleWith: cancelButton
            text: qsTr("确定")
            onClicked: dialog.confirmed()
        }
    }
}
