pragma Singleton
import QtQuick 2.9
import QtQml 2.12

// The look every page shares.
QtObject {
    readonly property color accent: "#6496fa"
    readonly property color sliderFill: "#6496ff"
    readonly property color panel: "#bfffffff"
    readonly property color dialog: "#ffffff"
    // Behind a question: what is behind it must not read through.
    readonly property color dim: "#b0000000"
    readonly property color backdrop: "#000000"
    readonly property color transparent: "#00ffffff"
    readonly property color titleText: "#ffffff"
    // The keyboard's place: amber reads on the dark pages and the light panel alike.
    readonly property color focusRing: "#ffb000"

    // The pages' trace, off unless QT_LOGGING_RULES="solvane.qml.debug=true".
    readonly property LoggingCategory trace: LoggingCategory {
        name: "solvane.qml"
        defaultLogLevel: LoggingCategory.Info
    }

    // Pictures are files beside the game, named without ".png"; an empty
    // name gives an empty source, which loads and logs nothing.
    function png(name) {
        return name ? "file:///" + exePath + "/png/" + name + ".png" : ""
    }
}
