import QtQuick
import Murmo.Ui

// A card's symbol and title on one line.
Row {
    required property HomeTheme theme
    required property string title
    required property string symbol

    spacing: 8

    Symbol {
        name: parent.symbol
        color: parent.theme.accent
        size: 16
        anchors.verticalCenter: parent.verticalCenter
    }
    Text {
        text: parent.title
        color: parent.theme.text
        font.pixelSize: parent.theme.headingSize
        font.weight: Font.DemiBold
        anchors.verticalCenter: parent.verticalCenter
    }
}
