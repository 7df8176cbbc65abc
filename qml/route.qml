import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

// The story's branches as far as the player has found them: what was reached
// is named, the rest stands locked. A reached question can be played again
// from there.
Page {
    id: page
    objectName: "routePage"
    width: 720
    height: 480
    focus: true

    readonly property RouteMap map: routeMap
    property int asked: -1 // the question the dialog asks about

    function goBack() {
        if (Controller.getLastSource() === "game")
            Controller.navigategame("route")
        else
            Controller.navigateindex()
    }

    function ask(node) {
        asked = node
        jumpDialog.open = true
    }

    // Brings a node into view, a little below the top edge.
    function reveal(box) {
        var top = box.y - 20
        var bottom = box.y + box.height + 20
        if (top < chart.contentY)
            chart.contentY = Math.max(0, top)
        else if (bottom > chart.contentY + chart.height)
            chart.contentY = Math.min(chart.contentHeight - chart.height, bottom - chart.height)
    }

    Component.onCompleted: {
        map.refresh()
        var at = map.currentNode >= 0 ? map.nodes[map.currentNode] : null
        if (at)
            chart.contentY = Math.max(0, Math.min(chart.contentHeight - chart.height, at.y - chart.height / 2))
    }

    Keys.onEscapePressed: goBack()

    PageFrame {
        title: qsTr("路线图")
        titleItem.x: 499
        titleItem.y: 22
        onBack: page.goBack()
    }

    Text {
        objectName: "routeHint"
        x: 150
        y: 44
        width: 330
        text: qsTr("点击已到达的问题，可以从那里重新开始")
        color: "#333333"
        font.pointSize: 9
        wrapMode: Text.WordWrap
    }

    Flickable {
        id: chart
        objectName: "routeChart"
        x: 20
        y: 84
        width: 680
        height: 380
        clip: true
        contentWidth: 680
        contentHeight: page.map.contentHeight
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        Repeater {
            model: page.map.edges
            delegate: Item {
                property var edge: modelData
                readonly property color ink: edge.taken ? (edge.mistake ? "#c04040" : Theme.accent) : "#9a9a9a"

                Repeater {
                    model: edge.segments
                    delegate: Rectangle {
                        x: modelData.x
                        y: modelData.y
                        width: modelData.width
                        height: modelData.height
                        color: ink
                    }
                }
                Text {
                    objectName: "routeEdgeLabel"
                    x: edge.labelX
                    y: edge.labelY
                    width: edge.labelWidth
                    visible: edge.label !== ""
                    text: (edge.loop ? "↺ " : "") + edge.label
                    color: edge.taken ? (edge.mistake ? "#a02020" : "#1f3f8f") : "#777777"
                    font.pointSize: 8
                    wrapMode: Text.WrapAnywhere
                    maximumLineCount: edge.loop ? 1 : 2
                    elide: Text.ElideRight
                }
            }
        }

        Repeater {
            id: nodeRepeater
            model: page.map.nodes
            delegate: KeyButton {
                id: nodeButton
                property var node: modelData
                objectName: "routeNode" + index
                x: node.x
                y: node.y
                width: node.width
                height: node.height
                padding: 3
                text: node.text
                spoken: node.spoken
                hoverEnabled: node.canJump
                onActiveFocusChanged: if (activeFocus) page.reveal(node)
                onClicked: if (node.canJump) page.ask(index)

                background: Rectangle {
                    radius: node.kind === "ending" ? 12 : 4
                    color: !node.reached ? "#d8d8d8"
                         : node.kind === "ending" ? "#fff4dc"
                         : node.kind === "interlude" ? "#e4f4e4" : "#ffffff"
                    border.width: node.current ? 3 : 1
                    border.color: node.current ? Theme.focusRing
                                : nodeButton.hovered ? Theme.accent
                                : node.reached ? "#6f86b8" : "#aaaaaa"
                }
                contentItem: Text {
                    text: nodeButton.text
                    color: node.reached ? "#101010" : "#777777"
                    font.pointSize: node.kind === "question" ? 9 : 10
                    font.bold: node.kind !== "question"
                    wrapMode: Text.WrapAnywhere
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    verticalAlignment: Text.AlignVCenter
                    horizontalAlignment: node.reached ? Text.AlignLeft : Text.AlignHCenter
                }

                Rectangle {
                    objectName: "currentMark"
                    visible: node.current
                    x: parent.width - width - 4
                    y: -8
                    width: currentText.implicitWidth + 8
                    height: 16
                    radius: 3
                    color: Theme.focusRing
                    Text {
                        id: currentText
                        anchors.centerIn: parent
                        text: qsTr("当前")
                        color: "#000000"
                        font.pointSize: 8
                    }
                }
            }
        }
    }

    ConfirmDialog {
        id: jumpDialog
        objectName: "jumpDialog"
        z: 20
        width: 420
        anchors.centerIn: parent
        message: qsTr("从这个问题重新开始吗？当前的进度不会保存。")
        onCancelled: open = false
        onConfirmed: {
            open = false
            page.map.jump(page.asked)
        }
    }
}
