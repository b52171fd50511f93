import QtQuick
import QtQuick.Window
import Murmo.Ui

// The nudge card's panel: transparent, frameless, above everything, never focused, as large as
// the card with room for its shadow.
Window {
    id: window

    required property NudgeModel nudge

    width: card.implicitWidth + 2 * nudge.shadowPadding
    height: card.implicitHeight + 2 * nudge.shadowPadding
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height
    flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint | Qt.WindowDoesNotAcceptFocus
    color: "transparent"

    NudgeView {
        id: card
        x: window.nudge.shadowPadding
        y: window.nudge.shadowPadding
        nudge: window.nudge
    }
}
