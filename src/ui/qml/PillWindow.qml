import QtQuick
import QtQuick.Window
import Murmo.Ui

// The pill's panel: transparent, frameless, above everything, never focused.
Window {
    id: window

    required property PillModel pill

    width: pill.panelSize.width
    height: pill.panelSize.height
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height
    flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint | Qt.WindowDoesNotAcceptFocus
    color: "transparent"

    PillView {
        anchors.fill: parent
        pill: window.pill
    }
}
