import QtQuick 2.9
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

Page {
    id: page
    objectName: "gamePage"

    property bool textuiVisible: true
    property bool kvisible: false
    // Set while a dialog is open, so moving the pointer up does not close the bar under it.
    property bool vsuo: false
    property bool gamestartVisible: Controller.getLastSource() === "index"
    property bool wPressed: false
    property bool aPressed: false
    property bool sPressed: false
    property bool dPressed: false
    readonly property bool pagedBack: Story.readingBack

    width: 720
    height: 480
    focus: true

    Keys.onPressed: keys.pressed(event)
    Keys.onReleased: keys.released(event)

    Component.onCompleted: inputBox.syncFocus()

    GameActions {
        id: actions
        page: page
        menuBar: menuBar
        backlog: backlog
        answers: answerBox
        inputBox: inputBox
        quickLoadDialog: quickLoadDialog
        lineReturnDialog: lineReturnDialog
        interludeShown: interlude.shown
    }

    GameKeys {
        id: keys
        page: page
        actions: actions
        backlog: backlog
        inputBox: inputBox
    }

    Rectangle {
        objectName: "backdrop"
        x: -100
        y: -100
        z: -10
        width: 1000
        height: 700
        color: "#000000"
    }

    // The story publishes its names and texts only after its first line and its
    // flags start as null, hence the typeof guards in the bindings: missing, null
    // and 0 all mean "nothing to show". An empty source loads and logs nothing.
    Picture {
        objectName: "background"
        x: 0
        y: 0
        z: -5
        width: 720
        height: 480
        fillMode: Image.PreserveAspectFit
        // Dropped when another picture replaces it.
        cache: false
        visible: typeof bVisible !== "undefined" && !!bVisible
        source: Theme.png(typeof bcPath === "undefined" ? "" : bcPath)
    }

    // Above the background and, by its stacking value, above the figures.
    Interlude {
        id: interlude
    }

    GameFigures {}

    GameTextBox {
        visible: page.textuiVisible
    }

    GamePointer {
        anchors.fill: parent
        page: page
        actions: actions
    }

    GameAnswers {
        id: answerBox
        actions: actions
        // Paging back hides the answers; they come back with the question.
        visible: typeof daanvisible !== "undefined" && !!daanvisible && !page.pagedBack
    }

    GameInputBox {
        id: inputBox
        page: page
        visible: typeof shuruvisible !== "undefined" && !!shuruvisible && !page.pagedBack
    }

    SaveNotice {}

    GameModeMark {
        visible: page.textuiVisible && (autoOn || skipOn)
    }

    Backlog {
        id: backlog
        onReturnAsked: lineReturnDialog.ask(row)
    }

    LineReturnDialog {
        id: lineReturnDialog
        onReturned: backlog.hide()
    }

    // F9 after the story has moved on from the quick save: the question first.
    // Only a question asked while the page is up: one asked before, on an
    // earlier visit, was answered there.
    Connections {
        target: Saves
        function onQuickLoadAsked() { quickLoadDialog.open = true }
    }

    ConfirmDialog {
        id: quickLoadDialog
        objectName: "quickLoadDialog"
        z: 20
        width: 384
        anchors.centerIn: parent
        message: qsTr("读取快速存档吗？之后的进度不会保存。")
        onCancelled: open = false
        onConfirmed: {
            open = false
            Controller.quickLoad1(1)
        }
    }

    GameMenuBar {
        id: menuBar
        actions: actions
        // Under the opening cover it neither shows nor takes a click.
        visible: page.textuiVisible && page.kvisible && !page.gamestartVisible
    }

    Rectangle {
        objectName: "cover"
        z: 19
        width: 720
        height: 480
        color: "#000000"
        visible: page.gamestartVisible

        Text {
            objectName: "coverText"
            x: 150
            y: 187
            width: 421
            height: 58
            text: qsTr("我们生活的世界，真的是我们认为的那样吗？")
            color: "#ffffff"
            font.pointSize: 16
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignTop
        }
    }
}
