import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.2
import "."

Page {
    id: page
    objectName: "settingPage"
    width: 720
    height: 480
    hoverEnabled: true
    focus: true

    // A label and its row of choices, the one chosen filled; each button is
    // named buttonName plus its index and is read as the label and its choice.
    component ChoiceRow: Row {
        id: row
        property alias label: rowLabel.text
        property real labelWidth: 40
        property string buttonName
        property var choices: []
        property int current: 0
        signal picked(int index)

        spacing: 8

        Text {
            id: rowLabel
            anchors.verticalCenter: parent.verticalCenter
            width: row.labelWidth
            font.pointSize: 12
        }
        Repeater {
            model: row.choices

            KeyButton {
                readonly property bool chosen: row.current === index

                objectName: row.buttonName + index
                width: 52
                height: 24
                padding: 0
                spoken: row.label + " " + modelData
                onClicked: row.picked(index)
                background: Rectangle {
                    radius: 4
                    color: parent.chosen ? Theme.accent : Theme.transparent
                    border.color: Theme.accent
                    border.width: 2
                }
                contentItem: Text {
                    text: modelData
                    color: parent.chosen ? "#ffffff" : Theme.accent
                    font.pointSize: 11
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
            }
        }
    }

    PageFrame {
        title: qsTr("设置")
        titleItem.x: 303
        titleItem.y: 22
        onBack: {
            if (Controller.getLastSource() === "game")
                Controller.navigategame("setting")
            else
                Controller.navigateindex()
        }
    }

    // The mode the game shows in is marked; 3 (the file names none) is the window.
    component ModeButton: KeyButton {
        id: modeButton
        property int mode: 0
        readonly property bool current: mode === 0 ? (Settings.displayMode === 0 || Settings.displayMode === 3)
                                                   : Settings.displayMode === mode
        width: 60
        height: 40
        anchors.centerIn: parent
        anchors.verticalCenterOffset: -78
        background: Rectangle {
            color: modeButton.current ? Theme.accent : Theme.transparent
            radius: 5
            border.color: Theme.accent
        }
        contentItem: Text {
            text: modeButton.text
            color: modeButton.current ? "#ffffff" : Theme.accent
            font.bold: modeButton.current
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    ModeButton {
        objectName: "windowedButton"
        mode: 0
        anchors.horizontalCenterOffset: -196
        text: qsTr("小窗")
        onClicked: Controller.xiaochuang()
    }
    ModeButton {
        objectName: "maximisedButton"
        mode: 2
        anchors.horizontalCenterOffset: -125
        text: qsTr("放大")
        onClicked: Controller.fangda()
    }
    ModeButton {
        objectName: "fullScreenButton"
        mode: 1
        anchors.horizontalCenterOffset: -54
        text: qsTr("全屏")
        onClicked: Controller.quanping()
    }
    Text {
        objectName: "modeNote"
        x: 130
        y: 188
        visible: Settings.notice === ""
        text: qsTr("切换后游戏会重新启动，并回到现在的位置")
        color: "#404040"
        font.pointSize: 8
    }

    // Not live: the value, and with it the call, changes when the handle is let go.
    // No padding, so a press lands where the handle is drawn.
    // Tab reaches it like a button; the arrow keys move it.
    component SettingSlider: Slider {
        id: slider
        property string spoken
        width: 192
        height: 35
        padding: 0
        live: false
        background: Rectangle {
            y: (slider.height - height) / 2
            width: slider.width
            height: 4
            radius: 2
            color: "#bdbebf"

            Rectangle {
                width: slider.visualPosition * parent.width
                height: parent.height
                radius: 2
                color: Theme.sliderFill
            }
        }
        handle: Rectangle {
            x: slider.visualPosition * (slider.width - width)
            y: 10
            width: 16
            height: 16
            radius: 8
            color: slider.pressed ? "#ffffff" : "#f6f6f6"
            border.color: "#bdbebf"
            border.width: 2
        }
        onVisualFocusChanged: if (visualFocus) Controller.say1(spoken + " " + Math.round(value * 100) + "%")
        Rectangle {
            objectName: "focusRing"
            x: -4
            y: 4
            width: slider.width + 8
            height: slider.height - 8
            radius: 4
            color: "transparent"
            border.width: 2
            border.color: Theme.focusRing
            visible: slider.visualFocus
        }
        // The value as a player reads it, following the handle while it moves.
        Text {
            objectName: slider.objectName + "Value"
            x: slider.width + 8
            anchors.verticalCenter: parent.verticalCenter
            text: Math.round(slider.visualPosition * 100) + "%"
            color: "#404040"
            font.pointSize: 10
        }
    }

    component SliderLabel: Text {
        font.pointSize: 12
    }

    SettingSlider {
        objectName: "textSpeedSlider"
        spoken: "文字显示速度"
        x: 399
        y: 153
        value: Settings.textSpeed
        onValueChanged: Controller.vzi1(value)
    }
    SliderLabel {
        objectName: "textSpeedLabel"
        x: 446
        y: 138
        text: qsTr("文字显示速度")
    }

    SettingSlider {
        objectName: "autoSpeedSlider"
        spoken: "自动模式速度"
        x: 399
        y: 230
        value: Settings.autoSpeed
        onValueChanged: Controller.vhang1(value)
    }
    SliderLabel {
        objectName: "autoSpeedLabel"
        x: 447
        y: 216
        text: qsTr("自动模式速度")
    }

    SettingSlider {
        objectName: "volumeSlider"
        spoken: "背景音乐音量"
        x: 139
        y: 230
        value: Settings.volume
        onValueChanged: Controller.inliang1(value)
    }
    SliderLabel {
        objectName: "volumeLabel"
        x: 187
        y: 216
        text: qsTr("背景音乐音量")
    }

    // Reading options; each row flips its option, the box shows it.
    component OptionToggle: KeyButton {
        id: toggle
        property bool on: false
        property string label
        spoken: label + (on ? "，开" : "，关")
        width: 260
        height: 24
        padding: 0
        background: Item {}
        contentItem: Row {
            spacing: 8
            Rectangle {
                objectName: "optionBox"
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                height: 16
                radius: 3
                color: toggle.on ? Theme.accent : Theme.transparent
                border.color: Theme.accent
                border.width: 2
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: toggle.label
                font.pointSize: 12
            }
        }
    }

    OptionToggle {
        objectName: "wholeLineFirstOption"
        x: 139
        y: 296
        label: qsTr("点击时先显示整句")
        on: Settings.wholeLineFirst
        onClicked: Controller.wholeLineFirst1(!on)
    }
    OptionToggle {
        objectName: "skipReadOnlyOption"
        x: 139
        y: 330
        label: qsTr("仅快进已读文本")
        on: Settings.skipReadOnly
        onClicked: Controller.skipReadOnly1(!on)
    }

    // How the action interludes play: as made, kinder, or skipped (won for the player).
    ChoiceRow {
        objectName: "interludeModeRow"
        x: 139
        y: 364
        labelWidth: 80
        label: qsTr("互动难度")
        buttonName: "interludeMode"
        choices: [qsTr("标准"), qsTr("轻松"), qsTr("跳过")]
        current: Settings.interludeMode
        onPicked: Controller.interludeMode1(index)
    }

    // The script everything is written in. Each choice is named in its own script,
    // so neither label goes through qsTr.
    ChoiceRow {
        objectName: "textFormRow"
        x: 441
        y: 408
        label: qsTr("文字")
        buttonName: "textForm"
        choices: ["简体", "繁體"]
        current: Settings.textForm
        onPicked: Controller.textForm1(index)
    }

    // How the story's text box looks: the size of its text, how much shows through it.
    readonly property int textSizeNow: Settings.textSize
    SliderLabel {
        objectName: "textSizeLabel"
        x: 139
        y: 408
        text: qsTr("文字大小")
    }
    Repeater {
        model: [qsTr("标准"), qsTr("大"), qsTr("特大")]
        delegate: KeyButton {
            id: sizeButton
            spoken: "文字大小 " + modelData
            objectName: "textSize" + index
            readonly property bool current: page.textSizeNow === index
            x: 227 + 60 * index
            y: 404
            width: 50
            height: 28
            background: Rectangle {
                color: sizeButton.current ? Theme.accent : Theme.transparent
                radius: 5
                border.color: Theme.accent
            }
            contentItem: Text {
                text: modelData
                color: sizeButton.current ? "#ffffff" : Theme.accent
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            onClicked: Controller.textSize1(index)
        }
    }
    SettingSlider {
        objectName: "boxOpacitySlider"
        spoken: "文本框不透明度"
        x: 399
        y: 307
        value: Settings.boxOpacity
        onValueChanged: Controller.boxOpacity1(value)
    }
    SliderLabel {
        objectName: "boxOpacityLabel"
        x: 441
        y: 293
        text: qsTr("文本框不透明度")
    }

    // 朗读: each line read aloud as it is shown, and the buttons the keyboard reaches.
    ChoiceRow {
        objectName: "readAloudRow"
        x: 441
        y: 364
        label: qsTr("朗读")
        buttonName: "readAloud"
        choices: [qsTr("关"), qsTr("开")]
        current: Settings.readAloud ? 1 : 0
        onPicked: Controller.readAloud1(index === 1)
    }

    // Only when a display-mode change could not restart the game.
    Text {
        objectName: "settingNotice"
        x: 134
        y: 190
        width: 260
        wrapMode: Text.Wrap
        visible: text !== ""
        text: Settings.notice
        color: "#c0392b"
    }
}
