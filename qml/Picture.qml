import QtQuick 2.9
import QtQuick.Window 2.2

// One of the game's pictures, drawn in more detail than the page shows it:
// decoded at the size it takes on the screen, so a full screen is sharp and a
// window holds no more pixels than it shows.
Image {
    sourceSize: Qt.size(width * Screen.devicePixelRatio, height * Screen.devicePixelRatio)
}
