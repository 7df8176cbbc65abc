import QtQuick 2.9
import Solvane 1.0
import "."

// A question's two answers.
Item {
    id: answerBox
    objectName: "answerBox"

    property Item actions
    // Where the keyboard enters them.
    property alias first: answer1
    property alias second: answer2

    y: 140
    z: 3
    width: 720
    height: 200
    // An answer the keyboard chose goes with the box: the story has the keys again.
    onVisibleChanged: if (!visible && (answer1.activeFocus || answer2.activeFocus)) actions.takeKeys()

    // A click never hands a button the keyboard, only Tab does: the page's keys
    // must keep working after a click, and Space must not press the last button clicked.
    component AnswerButton: KeyButton {
        width: 300
        height: 30
        anchors.centerIn: parent
        font.pointSize: 12
        background: Rectangle {
            color: "#cc78d2ff"
            radius: 3
            border.width: 0
        }
    }

    AnswerButton {
        id: answer1
        objectName: "answer1"
        anchors.verticalCenterOffset: -32
        text: typeof ida1 === "undefined" || ida1 === null ? "" : ida1
        spoken: "选项一，" + text
        onClicked: answerBox.actions.act(Input.Answer1)
    }
    AnswerButton {
        id: answer2
        objectName: "answer2"
        anchors.verticalCenterOffset: 22
        text: typeof ida2 === "undefined" || ida2 === null ? "" : ida2
        spoken: "选项二，" + text
        onClicked: answerBox.actions.act(Input.Answer2)
    }
}
