import QtQuick 2.9
import QtQuick.Controls 2.2
import "."

// What the settings, load and extras pages share: the black margins, the
// background picture, the translucent panel, the title and the back button.
// Placed first in a page, it fills the page's 720 x 480 area.
Item {
    id: frame

    property alias title: titleText.text
    property alias titleItem: titleText
    property string picture: "b"
    property real pictureZ: -2
    property real panelZ: -1
    property bool showTitle: true
    property alias backButton: backButton
    signal back()

    // With 朗读 on, the page says where the player is.
    Component.onCompleted: Controller.say1(title)

    width: 720
    height: 480

    Rectangle {
        objectName: "backdrop"
        x: -100
        y: -100
        z: -10
        width: 1000
        height: 700
        color: Theme.backdrop
    }

    Picture {
        objectName: "pageBackground"
        width: 720
        height: 480
        z: frame.pictureZ
        source: Theme.png(frame.picture)
    }

    Rectangle {
        objectName: "panel"
        x: 10
        y: 10
        z: frame.panelZ
        width: 700
        height: 460
        color: Theme.panel
    }

    OutlinedTitle {
        id: titleText
        objectName: "pageTitle"
        visible: frame.showTitle
        font.weight: Font.Thin
    }

    KeyButton {
        id: backButton
        objectName: "backButton"
        x: 30
        y: 31
        z: 1
        width: 96
        height: 47
        spoken: "返回"
        background: Item {}
        contentItem: Item {
            Text {
                objectName: "backLabel"
                x: 28 - backButton.leftPadding
                y: 10 - backButton.topPadding
                text: qsTr("返回")
                color: Theme.accent
                font.italic: true
                font.pointSize: 16
            }
        }
        onClicked: frame.back()
    }
}
