import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.2
import Solvane 1.0
import "."

// The gallery of illustrations reached so far and the music box.
Page {
    id: page
    objectName: "extraPage"
    width: 720
    height: 480
    focus: true

    property int extrap: 0         // gallery page shown, 0 to 2
    property string extradp: ""    // picture in the full view
    property bool eivisible: false // full view open
    property int eindex: 0         // position (1 to 16) of its illustration on the gallery page
    property int imgp: 2           // next sub-image the full view shows

    // The unlock record: whole part the highest illustration, tenths its sub-image.
    // Not a number before the record arrives: nothing is unlocked then.
    readonly property real record: typeof extra === "number" && isFinite(extra) ? extra : 0
    readonly property int reached: Math.floor(record)
    readonly property int subReached: Math.round((record - reached) * 10)

    function openFullView(url, position) {
        eindex = position
        eivisible = true
        // Through an empty source, so a picture that failed before is tried again.
        extradp = ""
        extradp = url
    }

    function closeFullView() {
        imgp = 2
        eivisible = false
    }

    // A later illustration reached opens every sub-image of this one; the one
    // in progress opens up to the sub-image reached. Past that, or at the first
    // picture missing, the view closes.
    function showNextSubImage() {
        var number = eindex + 16 * extrap
        // Only pictures that are there: a single illustration has no cgN-k.
        var name = "cg" + number + "-" + imgp
        if ((number < reached || imgp - 1 < subReached) && Controller.fileExists("png/" + name + ".png")) {
            imgp += 1
            extradp = Theme.png(name)
        } else {
            closeFullView()
        }
    }

    component LabelButton: KeyButton {
        property string label
        spoken: label
        property real labelSize: 12
        property color labelColor: Theme.accent
        property bool labelItalic: false
        padding: 0
        background: Item {}
        contentItem: Text {
            text: parent.label
            color: parent.labelColor
            style: Text.Outline
            styleColor: Theme.accent
            font.pointSize: parent.labelSize
            font.italic: parent.labelItalic
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    PageFrame {
        id: frame
        title: qsTr("CG一览")
        titleItem.x: 499
        titleItem.y: 22
        backButton.x: 30
        backButton.y: 33
        backButton.width: 96
        backButton.height: 45
        onBack: Controller.navigateindex()
    }

    Rectangle {
        id: musicBox
        objectName: "musicBox"
        x: 157
        y: 26
        width: 315
        height: 52
        radius: 5
        color: Theme.transparent
        border.color: Theme.accent

        LabelButton {
            objectName: "previousTrack"
            width: 21
            height: 20
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -130
            label: "<"
            onClicked: Controller.inextra1(-1)
        }
        LabelButton {
            objectName: "pauseMusic"
            width: 20
            height: 20
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -105
            label: "||"
            labelSize: 9
            labelColor: Controller.inbextra === 0 ? "#1f3f8f" : Theme.accent
            onClicked: Controller.inbextra1(0)
        }
        LabelButton {
            objectName: "playMusic"
            width: 21
            height: 20
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -76
            label: "▷"
            labelSize: 16
            labelColor: Controller.inbextra !== 0 ? "#1f3f8f" : Theme.accent
            onClicked: Controller.inbextra1(1)
        }
        LabelButton {
            objectName: "nextTrack"
            width: 20
            height: 20
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -49
            anchors.verticalCenterOffset: 1
            label: ">"
            onClicked: Controller.inextra1(1)
        }
        // Whether the box plays or holds its track, in words.
        Text {
            objectName: "musicState"
            x: 20
            y: 36
            text: Controller.inbextra === 0 ? qsTr("已暂停") : qsTr("播放中")
            color: Theme.accent
            font.pointSize: 7
        }
        Text {
            objectName: "trackTitle"
            x: 133
            y: 8
            width: 174
            height: 36
            text: typeof texte === "undefined" || texte === null ? "" : texte
            color: Theme.accent
            style: Text.Outline
            styleColor: Theme.accent
            font.italic: true
            font.pointSize: 14
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    Repeater {
        model: ["1", "2", "3"]
        delegate: LabelButton {
            objectName: "pageButton" + modelData
            width: 20
            height: 20
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: -232 + 25 * index
            anchors.verticalCenterOffset: 210
            label: modelData
            labelColor: page.extrap === index ? Theme.accent : "#ffffff"
            labelItalic: true
            onClicked: page.extrap = index
        }
    }

    Repeater {
        id: tiles
        objectName: "tiles"
        model: page.extrap < 2 ? 16 : 4
        delegate: Rectangle {
            id: tile
            readonly property int number: index + 1 + 16 * page.extrap
            readonly property bool unlocked: number <= page.reached
            // A multi-part illustration has only cgK-1, cgK-2, ...: show its first.
            readonly property bool fallback: unlocked && !Controller.fileExists("png/cg" + number + ".png")

            objectName: "tile" + index
            x: 105 + 130 * (index % 4)
            y: 120 + 80 * Math.floor(index / 4)
            width: 120
            height: 72
            color: Theme.transparent
            border.width: 1
            border.color: Theme.accent

            // Decoded at tile size and off the GUI thread: 36 full pictures
            // would otherwise hold the page's first frame.
            Image {
                id: picture
                objectName: "tilePicture"
                anchors.fill: parent
                asynchronous: true
                sourceSize.width: 120 * Screen.devicePixelRatio
                sourceSize.height: 72 * Screen.devicePixelRatio
                visible: tile.unlocked
                source: tile.unlocked ? Theme.png("cg" + tile.number + (tile.fallback ? "-1" : "")) : ""
            }

            // A tile not yet reached shows a lock, not an empty frame.
            Item {
                objectName: "tileLock"
                width: 22
                height: 26
                anchors.centerIn: parent
                visible: !tile.unlocked
                Rectangle {
                    x: 4
                    width: 14
                    height: 16
                    radius: 7
                    color: "transparent"
                    border.width: 3
                    border.color: Theme.accent
                }
                Rectangle {
                    y: 10
                    width: 22
                    height: 16
                    radius: 2
                    color: Theme.accent
                }
            }

            KeyButton {
                objectName: "tileButton"
                spoken: tile.unlocked ? "CG " + tile.number : "未解锁"
                anchors.fill: parent
                background: Item {}
                contentItem: Item {}
                onClicked: {
                    if (tile.unlocked)
                        page.openFullView(picture.source, index + 1)
                }
            }
        }
    }

    // Endings reached in any run: how many, and their titles when opened.
    readonly property var endingTitles: Story.endingsSeen
    readonly property int endingCount: Story.endingsSeenCount
    property bool endingsOpen: false

    LabelButton {
        objectName: "endingsButton"
        x: 540
        y: 440
        width: 140
        height: 20
        label: qsTr("已见结局 ") + page.endingCount + " / " + page.endingTitles.length
        onClicked: page.endingsOpen = !page.endingsOpen
    }

    Rectangle {
        objectName: "endingsView"
        x: 95
        y: 110
        z: 1
        width: 530
        height: 330
        radius: 5
        color: "#f2ffffff"
        border.color: Theme.accent
        visible: page.endingsOpen

        Column {
            x: 24
            y: 16
            spacing: 6

            Text {
                text: qsTr("结局一览")
                color: Theme.accent
                font.pointSize: 14
                font.italic: true
            }
            Repeater {
                objectName: "endingRows"
                model: page.endingTitles
                delegate: Text {
                    objectName: "endingRow" + index
                    text: (index + 1) + ".  " + modelData
                    color: modelData === qsTr("？？？") ? "#888888" : "#202020"
                    font.pointSize: 11
                }
            }
        }

        MouseArea {
            anchors.fill: parent
            onClicked: page.endingsOpen = false
        }
    }

    Picture {
        id: fullView
        objectName: "fullView"
        x: 0
        y: -1
        z: 2
        width: 720
        height: 480
        visible: page.eivisible
        source: page.extradp
        onStatusChanged: {
            if (status === Image.Error)
                page.closeFullView()
        }

        KeyButton {
            objectName: "fullViewButton"
            spoken: "下一张"
            anchors.fill: parent
            enabled: page.eivisible
            background: Item {}
            contentItem: Item {}
            onClicked: page.showNextSubImage()
        }
    }
}
