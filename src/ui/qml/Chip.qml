import QtQuick
import Murmo.Ui

// One choice: a label, an optional symbol and an on/off look.
MouseArea {
    id: chip

    required property OnboardingView onboarding
    property string label
    property string symbol
    property bool on

    implicitWidth: row.implicitWidth + 32
    implicitHeight: 44
    cursorShape: Qt.PointingHandCursor

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: chip.on ? chip.onboarding.chipOnColor : chip.onboarding.cardColor
        border.width: chip.on ? 2 : 1
        border.color: chip.on ? chip.onboarding.accentColor : chip.onboarding.lineColor
        scale: chip.on ? 1.0 : 0.98
        Behavior on scale { SpringAnimation { spring: 4; damping: 0.3 } }
        Behavior on color { ColorAnimation { duration: 160 } }
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: 8

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            visible: chip.symbol !== ""
            name: chip.symbol
            color: chip.on ? chip.onboarding.accentColor : chip.onboarding.secondaryColor
            size: 16
        }
        Text {
            text: chip.label
            font.pixelSize: 15
            font.bold: chip.on
            color: chip.on ? chip.onboarding.accentColor : chip.onboarding.textColor
        }
    }
}
