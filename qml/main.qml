import QtQuick 2.9
import QtQuick.Window 2.2
import QtQuick.Controls 2.12

Window {
    visible: true
    width: 720
    height: 480
    title: "Solvane"

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
