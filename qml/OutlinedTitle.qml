import QtQuick 2.9
import "."

// A page title: white, italic, 42 pt, outlined in the accent colour.
Text {
    color: Theme.titleText
    font.italic: true
    font.bold: true
    font.pointSize: 42
    style: Text.Outline
    styleColor: Theme.accent
}
