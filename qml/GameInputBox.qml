import QtQuick 2.9
import "."

// The typed answer's box: just above the text box, over no face; white on a
// dark edge to stand out from any picture behind it.
Item {
    id: inputBox
    objectName: "inputBox"

    property Item page
    readonly property bool hasKeys: inputField.activeFocus

    // The page is a focus scope: the field must give up its focus inside it too,
    // or the scope hands the keys straight back to the hidden field.
    function syncFocus() {
        if (visible) {
            inputField.forceActiveFocus()
        } else {
            inputField.focus = false
            page.forceActiveFocus()
        }
    }

    y: 256
    z: 3
    width: 720
    height: 200
    onVisibleChanged: syncFocus()

    Rectangle {
        objectName: "inputFrame"
        x: 213
        y: 79
        width: 272
        height: 31
        radius: 3
        color: "#ffffff"
        border.width: 2
        border.color: "#1f3f8f"
    }

    TextInput {
        id: inputField

        function submit() {
            Controller.shuru1(text)
            text = ""
        }

        objectName: "inputField"
        x: 213
        y: 79
        width: 272
        height: 31
        font.pixelSize: 20
        color: "#000000"
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        cursorVisible: true
        clip: true

        Keys.onReturnPressed: submit()
        Keys.onEnterPressed: submit()
    }

    Text {
        objectName: "inputHint"
        x: 213
        y: 79
        width: 272
        height: 31
        text: qsTr("请输入内容，按回车提交...")
        color: "#aaa"
        font.pixelSize: 16
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        visible: inputField.text.length === 0
    }
}
