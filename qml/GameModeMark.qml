import QtQuick 2.9
import Solvane 1.0
import "."

// Says why the text moves by itself; small and in the corner, out of the picture's way.
Rectangle {
    readonly property bool autoOn: Story.autoRunning
    readonly property bool skipOn: Story.skipRunning

    objectName: "modeMark"
    x: 720 - width - 8
    y: 8
    z: 5
    width: modeMarkText.implicitWidth + 12
    height: 20
    radius: 4
    color: "#99000000"

    Text {
        id: modeMarkText
        objectName: "modeMarkText"
        anchors.centerIn: parent
        text: parent.skipOn && parent.autoOn ? qsTr("快进 · 自动") : parent.skipOn ? qsTr("快进") : qsTr("自动")
        color: "#ffffff"
        font.pointSize: 9
    }
}
