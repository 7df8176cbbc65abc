import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.12

Window {
    visible: true
    width: 720
    height: 480
    // Page units are scaled by QT_SCALE_FACTOR, so this is the page at the
    // current scale. A larger window (maximised, or a window manager that
    // ignores the size) shows black around the page, not the default white.
    minimumWidth: 720
    minimumHeight: 480
    color: "#000000"
    title: "Solvane"

    // The minimum is a hint for the window manager; without one, or with one
    // that ignores it, a smaller window would cut the title page's buttons off.
    onWidthChanged: if (visibility === Window.Windowed && width < minimumWidth) width = minimumWidth
    onHeightChanged: if (visibility === Window.Windowed && height < minimumHeight) height = minimumHeight

    // Pages are created anew on every visit and keep no state of their own.
    Loader {
        id: pageLoader
        objectName: "pageLoader"
        anchors.centerIn: parent
        width: 720
        height: 480
        focus: true
        source: Controller.currentPage + ".qml"
    }
}
