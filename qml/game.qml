import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.2
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
    // The context property, under a name of the page's own.
    readonly property bool pagedBack: typeof readingBack === "boolean" && readingBack
    // Changes whenever an interlude attempt starts or ends: a key held through a
    // capture scene must not walk the figure on into the next capture.
    property int interludeAttempt: typeof interludeRound === "undefined" ? 0 : interludeRound

    onInterludeAttemptChanged: {
        wPressed = false
        aPressed = false
        sPressed = false
        dPressed = false
    }

    function openDialog(dialog) {
        dialog.open = true
        kvisible = true
        vsuo = true
    }

    function openBacklog() {
        kvisible = false
        backlog.show()
    }

    // The keyboard in the menu bar: Tab from the story opens the bar on its
    // first button (Shift+Tab its last), Esc or a button that leaves the story
    // where it was hands the keys back. A question's answers come first.
    function enterKeys(forward) {
        if (answerBox.visible) {
            (forward ? answer1 : answer2).forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
            return
        }
        kvisible = true
        vsuo = true
        ;(forward ? menuBar.firstButton : menuBar.lastButton).forceActiveFocus(forward ? Qt.TabFocusReason
                                                                                       : Qt.BacktabFocusReason)
    }

    function takeKeys() {
        var item = Window.activeFocusItem
        if (item && item !== page)
            item.focus = false
        page.forceActiveFocus()
    }

    function leaveBar() {
        if (!menuBar.hasKeys(Window.activeFocusItem))
            return
        takeKeys()
        kvisible = false
        vsuo = false
    }

    function closeDialog(dialog) {
        dialog.open = false
        kvisible = false
        vsuo = false
    }

    // The page is a focus scope: the field must give up its focus inside it too,
    // or the scope hands the keys straight back to the hidden field.
    function syncInputFocus() {
        if (inputBox.visible) {
            inputField.forceActiveFocus()
        } else {
            inputField.focus = false
            page.forceActiveFocus()
        }
    }

    // A click on a hidden text box brings it back first, or the story would
    // move on to a line nobody can read.
    function stepOrShow() {
        if (!textuiVisible) {
            textuiVisible = true
            return
        }
        // A line paged back to is one the story can go back to, asked first.
        if (pagedBack && lineReturnDialog.askViewed())
            return
        Controller.next1()
        gamestartVisible = false
    }

    function setHeld(key, down) {
        switch (key) {
        case Qt.Key_W:
            wPressed = down
            Controller.ws1(down ? 1 : 0)
            break
        case Qt.Key_S:
            sPressed = down
            Controller.ws1(down ? 2 : 0)
            break
        case Qt.Key_A:
            aPressed = down
            Controller.ad1(down ? 1 : 0)
            break
        case Qt.Key_D:
            dPressed = down
            Controller.ad1(down ? 2 : 0)
            break
        }
    }

    // The platform repeats a held key as a release and a press at once, and
    // does not always mark them as a repeat; a press that comes while its
    // release is still waiting here is one. A key counts as down from its
    // press to the release that no press follows, and drives the figure from
    // its press until then or until a new attempt lets go of it.
    function movementPressed(key) {
        var waiting = letGoLater.get(key)
        if (waiting.running) {
            waiting.stop()
        } else if (!waiting.down) {
            waiting.down = true
            setHeld(key, true)
        }
    }

    function movementReleased(key) {
        var waiting = letGoLater.get(key)
        if (waiting.down)
            waiting.restart()
    }

    function toggleTextBox() {
        textuiVisible = !textuiVisible
        kvisible = false
        vsuo = false
        menuBar.returnDialog.open = false
        menuBar.quitDialog.open = false
    }

    // Windowed and full screen trade places; a maximised window goes full screen.
    function toggleFullScreen() {
        if (Settings.displayMode === 1)
            Controller.xiaochuang()
        else
            Controller.quanping()
    }

    width: 720
    height: 480
    focus: true

    // The question open on the page, if any.
    function openQuestion() {
        var dialogs = [quickLoadDialog, lineReturnDialog, menuBar.saveDialog, menuBar.returnDialog, menuBar.quitDialog]
        for (var i = 0; i < dialogs.length; ++i) {
            if (dialogs[i].open)
                return dialogs[i]
        }
        return null
    }

    Keys.onPressed: {
        // Keys that reach the page while a question is open are the question's.
        var question = openQuestion()
        if (question) {
            if (event.key === Qt.Key_Escape)
                question.cancelled()
            else if (event.key === Qt.Key_Tab || event.key === Qt.Key_Backtab)
                question.takeKeys()
            event.accepted = true
            return
        }
        // The open backlog has the keys: it scrolls and closes, the story waits.
        if (backlog.open) {
            switch (event.key) {
            case Qt.Key_Escape:
            case Qt.Key_L:
                backlog.hide()
                break
            case Qt.Key_Up:
                backlog.step(-1)
                break
            case Qt.Key_Down:
                backlog.step(1)
                break
            case Qt.Key_Return:
            case Qt.Key_Enter:
                backlog.askCurrent()
                break
            case Qt.Key_PageUp:
                backlog.scroll(-8)
                break
            case Qt.Key_PageDown:
                backlog.scroll(8)
                break
            }
            event.accepted = true
            return
        }
        switch (event.key) {
        case Qt.Key_L:
            // Not under the opening cover, where it could not be seen.
            if (!gamestartVisible)
                backlog.show()
            event.accepted = true
            break
        // Keys the field leaves alone reach the page too; reading keys must not
        // step the story from under it.
        case Qt.Key_Space:
        case Qt.Key_Return:
        case Qt.Key_Enter:
            if (!inputField.activeFocus)
                stepOrShow()
            event.accepted = true
            break
        // The way back from Page Up: like the wheel, forward through the lines
        // read, and on to a new line only from the current one.
        case Qt.Key_PageDown:
        case Qt.Key_Down:
            if (!inputField.activeFocus) {
                if (!textuiVisible) {
                    textuiVisible = true
                } else {
                    Controller.wheel1(-1)
                    gamestartVisible = false
                }
            }
            event.accepted = true
            break
        case Qt.Key_PageUp:
        case Qt.Key_Up:
            if (!inputField.activeFocus)
                Controller.wheel1(1)
            event.accepted = true
            break
        case Qt.Key_F11:
            toggleFullScreen()
            event.accepted = true
            break
        case Qt.Key_F5:
            Controller.quickSave1()
            event.accepted = true
            break
        case Qt.Key_F9:
            Controller.quickLoad1(0)
            event.accepted = true
            break
        case Qt.Key_H:
            toggleTextBox()
            event.accepted = true
            break
        case Qt.Key_Escape:
            // The bar and its questions wait for the cover to go.
            if (gamestartVisible)
                break
            if (menuBar.hasKeys(Window.activeFocusItem))
                leaveBar()
            else
                openDialog(menuBar.returnDialog)
            event.accepted = true
            break
        case Qt.Key_Tab:
        case Qt.Key_Backtab:
            // From a button the window moves on along its buttons.
            event.accepted = Window.activeFocusItem === page
            if (event.accepted && !gamestartVisible)
                enterKeys(event.key === Qt.Key_Tab)
            break
        case Qt.Key_V:
            Controller.readAloud1(!Settings.readAloud)
            event.accepted = true
            break
        case Qt.Key_W:
        case Qt.Key_S:
        case Qt.Key_A:
        case Qt.Key_D:
            if (!event.isAutoRepeat)
                movementPressed(event.key)
            event.accepted = true
            break
        case Qt.Key_E:
            Controller.fs1()
            event.accepted = true
            break
        case Qt.Key_Control:
            if (!event.isAutoRepeat)
                Controller.skipHeld1(true)
            event.accepted = false
            break
        default:
            event.accepted = false
        }
    }

    // Skipping lasts exactly as long as Ctrl is held, whether or not a skip ran before.
    Keys.onReleased: {
        switch (event.key) {
        case Qt.Key_W:
        case Qt.Key_S:
        case Qt.Key_A:
        case Qt.Key_D:
            if (!event.isAutoRepeat)
                movementReleased(event.key)
            event.accepted = true
            break
        case Qt.Key_E:
        case Qt.Key_Escape:
            event.accepted = true
            break
        case Qt.Key_Control:
            if (!event.isAutoRepeat)
                Controller.skipHeld1(false)
            event.accepted = false
            break
        default:
            event.accepted = false
        }
    }

    Component.onCompleted: {
        quickAsksAnswered = quickAsks
        syncInputFocus()
    }

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

    // The interlude moves on its own 10 ms step; resending held keys keeps the
    // figure walking without the platform's key auto-repeat, which the keys
    // above leave alone (a key let go by a new attempt stays let go). With
    // no key held a tick would send nothing, so the timer rests.
    Timer {
        objectName: "repeatTimer"
        interval: 16
        repeat: true
        running: page.wPressed || page.sPressed || page.aPressed || page.dPressed
        onTriggered: {
            if (page.wPressed)
                Controller.ws1(1)
            if (page.sPressed)
                Controller.ws1(2)
            if (page.aPressed)
                Controller.ad1(1)
            if (page.dPressed)
                Controller.ad1(2)
        }
    }

    component LetGo: Timer {
        property int key
        property bool down: false
        interval: 50
        onTriggered: {
            down = false
            page.setHeld(key, false)
        }
    }

    QtObject {
        id: letGoLater

        property LetGo w: LetGo { key: Qt.Key_W }
        property LetGo s: LetGo { key: Qt.Key_S }
        property LetGo a: LetGo { key: Qt.Key_A }
        property LetGo d: LetGo { key: Qt.Key_D }

        function get(key) {
            return key === Qt.Key_W ? w : key === Qt.Key_S ? s : key === Qt.Key_A ? a : d
        }
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
    Interlude {}

    GameFigures {}

    Item {
        id: textArea
        objectName: "textArea"
        z: 0
        width: 720
        height: 480
        visible: page.textuiVisible

        readonly property real boxAlpha: Settings.boxOpacity
        // Below half, a dark picture shows through enough to swallow dark
        // letters: light ones with a dark edge read over any picture.
        readonly property bool lightText: boxAlpha < 0.5
        readonly property color textColour: lightText ? "#ffffff" : "#000000"

        Rectangle {
            objectName: "textPanel"
            x: 3
            y: 377
            width: 714
            height: 100
            radius: 8
            color: Qt.rgba(1, 1, 1, textArea.boxAlpha)
        }

        Text {
            id: lineText
            objectName: "lineText"
            readonly property string line: typeof currentText === "undefined" || currentText === null ? "" : currentText
            anchors.fill: parent
            anchors.topMargin: 378
            anchors.leftMargin: 30
            anchors.rightMargin: 30
            // The mark goes into the text itself, so it follows the last word
            // wherever the line wraps; it blinks by its colour alone.
            text: line + (endMarker.wanted ? "<span style=\"font-size:8pt; color:"
                                              + (endMarker.blinkOn ? "#505050" : "transparent") + "\">&nbsp;▼</span>" : "")
            textFormat: Text.RichText
            fontSizeMode: Text.FixedSize
            color: textArea.textColour
            style: textArea.lightText ? Text.Outline : Text.Normal
            styleColor: "#000000"
            font.bold: true
            font.pointSize: [12, 14, 16][Settings.textSize]
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignLeft
            verticalAlignment: Text.AlignVCenter
        }

        // The line has finished typing: a small blinking mark after it says a
        // click goes on. Not while it types, not while skipping.
        Item {
            id: endMarker
            objectName: "endMarker"
            readonly property bool wanted: typeof lineComplete === "boolean" && lineComplete
                                           && !(typeof skipRunning === "boolean" && skipRunning)
                                           && lineText.line !== ""
            property bool blinkOn: true
            visible: wanted && blinkOn
            // Two steps a second, not an animation: a shown line stays nearly idle.
            Timer {
                interval: 500
                repeat: true
                running: endMarker.wanted
                onRunningChanged: endMarker.blinkOn = true
                onTriggered: endMarker.blinkOn = !endMarker.blinkOn
            }
        }

        Text {
            objectName: "nameText"
            x: 10
            y: 376
            width: 90
            height: 22
            text: typeof nameText === "undefined" || nameText === null ? "" : nameText
            color: textArea.textColour
            style: textArea.lightText ? Text.Outline : Text.Normal
            styleColor: "#000000"
            // Who speaks, readable at a glance.
            font.pixelSize: 16
            font.bold: true
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    MouseArea {
        function pointerMoved(x, y) {
            Controller.weizhi1(x, y)
            if (y > 450)
                page.kvisible = true
            else if (!page.vsuo)
                page.kvisible = false
        }

        objectName: "pointerArea"
        anchors.fill: parent
        z: 1
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton

        onClicked: {
            if (mouse.button === Qt.RightButton)
                page.toggleTextBox()
            else
                page.stepOrShow()
        }
        // Entering the page is a move too: it may land straight on the bar's strip.
        onEntered: pointerMoved(mouseX, mouseY)
        onPositionChanged: pointerMoved(mouse.x, mouse.y)
    }

    Item {
        id: answerBox
        objectName: "answerBox"
        y: 140
        z: 3
        width: 720
        height: 200
        // Paging back hides the answers; they come back with the question.
        visible: typeof daanvisible !== "undefined" && !!daanvisible && !page.pagedBack
        // An answer the keyboard chose goes with the box: the story has the keys again.
        onVisibleChanged: if (!visible && (answer1.activeFocus || answer2.activeFocus)) page.takeKeys()

        AnswerButton {
            id: answer1
            objectName: "answer1"
            anchors.verticalCenterOffset: -32
            text: typeof ida1 === "undefined" || ida1 === null ? "" : ida1
            spoken: "选项一，" + text
            onClicked: Controller.da1(1)
        }
        AnswerButton {
            id: answer2
            objectName: "answer2"
            anchors.verticalCenterOffset: 22
            text: typeof ida2 === "undefined" || ida2 === null ? "" : ida2
            spoken: "选项二，" + text
            onClicked: Controller.da1(2)
        }
    }

    // Just above the text box, over no face; white on a dark edge to stand out
    // from any picture behind it.
    Item {
        id: inputBox
        objectName: "inputBox"
        y: 256
        z: 3
        width: 720
        height: 200
        visible: typeof shuruvisible !== "undefined" && !!shuruvisible && !page.pagedBack
        onVisibleChanged: page.syncInputFocus()

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

    SaveNotice {}

    // Says why the text moves by itself; small and in the corner, out of the picture's way.
    Rectangle {
        property bool autoOn: typeof autoRunning !== "undefined" && !!autoRunning
        property bool skipOn: typeof skipRunning !== "undefined" && !!skipRunning

        objectName: "modeMark"
        x: 720 - width - 8
        y: 8
        z: 5
        width: modeMarkText.implicitWidth + 12
        height: 20
        radius: 4
        color: "#99000000"
        visible: page.textuiVisible && (autoOn || skipOn)

        Text {
            id: modeMarkText
            objectName: "modeMarkText"
            anchors.centerIn: parent
            text: parent.skipOn && parent.autoOn ? qsTr("快进 · 自动") : parent.skipOn ? qsTr("快进") : qsTr("自动")
            color: "#ffffff"
            font.pointSize: 9
        }
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
    // Only a question asked since the page was made: one asked before, on an
    // earlier visit, was answered there.
    readonly property int quickAsks: typeof quickLoadAsks === "number" ? quickLoadAsks : 0
    property int quickAsksAnswered: -1
    onQuickAsksChanged: {
        if (quickAsksAnswered >= 0 && quickAsks > quickAsksAnswered)
            quickLoadDialog.open = true
        quickAsksAnswered = quickAsks
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
        page: page
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
