import QtQuick
import Murmo.Ui

// An arrow and a percentage on a tinted capsule.
Rectangle {
    id: badge

    required property HomeTheme theme
    required property string symbol
    required property string text
    required property bool good

    readonly property color tint: good ? theme.good : theme.bad

    width: content.implicitWidth + 16
    height: 24
    radius: 12
    color: Qt.rgba(tint.r, tint.g, tint.b, 0.14)

    Row {
        id: content
        anchors.centerIn: parent
        spacing: 4
        Symbol {
            name: badge.symbol
            color: badge.tint
            size: 11
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: badge.text
            color: badge.tint
            font.pixelSize: badge.theme.smallSize
            font.weight: Font.DemiBold
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
