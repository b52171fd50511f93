import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// A quiet button with a symbol, for repeating a request.
Button {
    id: button

    required property HomeTheme theme
    required property string symbol

    leftPadding: 10
    rightPadding: 10
    topPadding: 5
    bottomPadding: 5

    background: Rectangle {
        radius: 8
        color: button.hovered ? button.theme.selection : button.theme.raised
    }
    contentItem: Row {
        spacing: 6
        Symbol {
            name: button.symbol
            color: button.theme.accent
            size: 12
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: button.text
            color: button.theme.text
            font.pixelSize: button.theme.smallSize + 1
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
