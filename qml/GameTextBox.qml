import QtQuick 2.9
import Solvane 1.0
import "."

// The text box: the panel, the line, its end mark and the speaker's name.
Item {
    id: textArea
    objectName: "textArea"
    z: 0
    width: 720
    height: 480

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

    // The story publishes its names and texts only after its first line:
    // missing and null both mean nothing to show.
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
        readonly property bool wanted: Story.lineComplete && !Story.skipRunning && lineText.line !== ""
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
