import QtQuick 2.9
import QtQuick.Window 2.2
import Solvane 1.0
import "."

// What the story page does for each of the player's actions, whichever
// device asks: the page's keys and pointer call press and release here, any
// other device reaches them through Input. The page holds the state; this
// only changes it.
Item {
    id: actions
    objectName: "gameActions"

    property Item page
    property Item menuBar
    property Item backlog
    property Item answers
    property Item inputBox
    property Item quickLoadDialog
    property Item lineReturnDialog
    // An interlude on the page: a device whose buttons walk and fire there reads it from Input.
    property bool interludeShown: false
    onInterludeShownChanged: Input.interlude = interludeShown


    // The question open on the page, if any.
    function openQuestion() {
        var dialogs = [quickLoadDialog, lineReturnDialog, menuBar.saveDialog, menuBar.returnDialog, menuBar.quitDialog]
        for (var i = 0; i < dialogs.length; ++i) {
            if (dialogs[i].open)
                return dialogs[i]
        }
        return null
    }

    function openDialog(dialog) {
        dialog.open = true
        page.kvisible = true
        page.vsuo = true
    }

    function closeDialog(dialog) {
        dialog.open = false
        page.kvisible = false
        page.vsuo = false
    }

    function takeKeys() {
        var item = Window.activeFocusItem
        if (item && item !== page)
            item.focus = false
        page.forceActiveFocus()
    }

    // Esc, or a button that leaves the story where it was, hands the keys back.
    function leaveBar() {
        if (!menuBar.hasKeys(Window.activeFocusItem))
            return
        takeKeys()
        page.kvisible = false
        page.vsuo = false
    }

    // The keyboard's way into the bar: its first button forward, its last
    // back. A question's answers come first.
    function enterKeys(forward, answersFirst) {
        var reason = forward ? Qt.TabFocusReason : Qt.BacktabFocusReason
        if (answersFirst && answers.visible) {
            (forward ? answers.first : answers.second).forceActiveFocus(reason)
            return
        }
        page.kvisible = true
        page.vsuo = true
        ;(forward ? menuBar.firstButton : menuBar.lastButton).forceActiveFocus(reason)
    }

    // A step on a hidden text box brings it back first, or the story would
    // move on to a line nobody can read.
    function stepOrShow() {
        if (!page.textuiVisible) {
            page.textuiVisible = true
            return
        }
        // A line paged back to is one the story can go back to, asked first.
        if (page.pagedBack && lineReturnDialog.askViewed())
            return
        Controller.next1()
        page.gamestartVisible = false
    }

    function toggleTextBox() {
        page.textuiVisible = !page.textuiVisible
        page.kvisible = false
        page.vsuo = false
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

    function moveFocus(forward) {
        var item = Window.activeFocusItem
        if (item && item !== page) {
            if (typeof item.moveFocus === "function")
                item.moveFocus(forward)
        } else if (!page.gamestartVisible) {
            enterKeys(forward, true)
        }
    }

    function confirm() {
        var item = Window.activeFocusItem
        if (!item || item === page)
            stepOrShow()
        else if (typeof item.clicked === "function")
            item.clicked()
    }

    // An open question answers only to its own actions: 取消, its two buttons.
    function answerQuestion(question, action) {
        var item = Window.activeFocusItem
        var inside = question.hasKeys(item)
        switch (action) {
        case Input.Cancel:
            question.cancelled()
            break
        case Input.FocusNext:
        case Input.FocusPrevious:
            if (inside)
                item.moveFocus(action === Input.FocusNext)
            else
                question.takeKeys()
            break
        case Input.Confirm:
            if (inside)
                item.clicked()
            else
                question.takeKeys()
            break
        }
    }

    function hold(action, down) {
        switch (action) {
        case Input.SkipHeld:
            Controller.skipHeld1(down)
            break
        case Input.Jump:
            page.wPressed = down
            Controller.ws1(down ? 1 : 0)
            break
        case Input.Drop:
            page.sPressed = down
            Controller.ws1(down ? 2 : 0)
            break
        case Input.WalkLeft:
            page.aPressed = down
            Controller.ad1(down ? 1 : 0)
            break
        case Input.WalkRight:
            page.dPressed = down
            Controller.ad1(down ? 2 : 0)
            break
        }
    }

    function press(action) {
        var question = openQuestion()
        if (question) {
            answerQuestion(question, action)
            return
        }
        // The open backlog has the player: it moves along its lines, offers to
        // go back to one and closes; the story waits.
        if (backlog.open) {
            if (action === Input.Cancel || action === Input.Backlog)
                backlog.hide()
            else if (action === Input.Back || action === Input.Forward)
                backlog.step(action === Input.Back ? -1 : 1)
            else if (action === Input.Step || action === Input.Confirm)
                backlog.askCurrent()
            return
        }
        act(action)
    }

    // What an action does to the story with nothing open over it. The
    // pointer and the buttons come straight here: what lies over the story
    // takes their clicks first.
    function act(action) {
        if (Input.lasts(action)) {
            hold(action, true)
            return
        }
        switch (action) {
        case Input.Step:
            stepOrShow()
            break
        case Input.Back:
            Controller.wheel1(1)
            break
        // Like the wheel: forward through the lines read, and on to a new
        // line only from the current one.
        case Input.Forward:
            if (!page.textuiVisible) {
                page.textuiVisible = true
            } else {
                Controller.wheel1(-1)
                page.gamestartVisible = false
            }
            break
        case Input.Skip:
            Controller.skip1()
            leaveBar()
            break
        case Input.Auto:
            Controller.Auto1()
            leaveBar()
            break
        case Input.HideBox:
            toggleTextBox()
            break
        case Input.Backlog:
            // Not under the opening cover, where it could not be seen.
            if (!page.gamestartVisible)
                backlog.show()
            break
        case Input.Save:
            openDialog(menuBar.saveDialog)
            break
        case Input.QuickSave:
            Controller.quickSave1()
            break
        case Input.QuickLoad:
            Controller.quickLoad1(0)
            break
        case Input.Menu:
            if (menuBar.hasKeys(Window.activeFocusItem))
                leaveBar()
            else if (!page.gamestartVisible)
                enterKeys(true, false)
            break
        case Input.Answer1:
        case Input.Answer2:
            if (answers.visible)
                Controller.da1(action === Input.Answer1 ? 1 : 2)
            break
        case Input.Confirm:
            confirm()
            break
        case Input.Cancel:
            // The bar and its questions wait for the cover to go.
            if (page.gamestartVisible)
                break
            if (menuBar.hasKeys(Window.activeFocusItem))
                leaveBar()
            else
                openDialog(menuBar.returnDialog)
            break
        case Input.FocusNext:
        case Input.FocusPrevious:
            moveFocus(action === Input.FocusNext)
            break
        case Input.ReadAloud:
            Controller.readAloud1(!Settings.readAloud)
            break
        case Input.FullScreen:
            toggleFullScreen()
            break
        case Input.Fire:
            Controller.fs1()
            break
        }
    }

    // A held action ends at its release, whatever opened since: a skip held
    // before a question stops when it is let go.
    function release(action) {
        if (Input.lasts(action))
            hold(action, false)
    }

    Connections {
        target: Input
        function onPressed(action) { actions.press(action) }
        function onReleased(action) { actions.release(action) }
        // A stick aims from the figure as the pointer would, a long reach away.
        function onAimed(dx, dy) {
            if (actions.interludeShown)
                Controller.weizhi1(sja1x + 200 * dx, sja1y + 200 * dy)
        }
    }

    Component.onDestruction: Input.interlude = false

    // A key held through a capture scene must not walk the figure on into the next capture.
    Connections {
        target: InterludeView
        function onAttemptTurned() {
            page.wPressed = false
            page.aPressed = false
            page.sPressed = false
            page.dPressed = false
        }
    }

    // The interlude moves on its own 10 ms step; resending held actions keeps
    // the figure walking without the platform's key auto-repeat (an action let
    // go by a new attempt stays let go). With none held a tick would send
    // nothing, so the timer rests.
    Timer {
        objectName: "repeatTimer"
        interval: 16
        repeat: true
        running: actions.page.wPressed || actions.page.sPressed || actions.page.aPressed || actions.page.dPressed
        onTriggered: {
            if (actions.page.wPressed)
                Controller.ws1(1)
            if (actions.page.sPressed)
                Controller.ws1(2)
            if (actions.page.aPressed)
                Controller.ad1(1)
            if (actions.page.dPressed)
                Controller.ad1(2)
        }
    }
}
