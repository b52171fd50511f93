import QtQuick
import Murmo.Ui

// The filled, rounded main button.
MouseArea {
    id: button

    required property OnboardingView onboarding
    property string text
    property string trailingSymbol
    property string leadingSymbol

    implicitWidth: Math.max(160, row.implicitWidth + 48)
    implicitHeight: 50
    cursorShape: Qt.PointingHandCursor

    Rectangle {
        anchors.fill: parent
        radius: 14
        color: button.onboarding.accentColor
        scale: button.pressed ? 0.97 : 1
        Behavior on scale { NumberAnimation { duration: 90 } }
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: 8

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.leadingSymbol !== ""
            name: button.leadingSymbol
            color: button.onboarding.accentTextColor
            size: 15
        }
        Text {
            text: button.text
            font.pixelSize: 16
            font.bold: true
            color: button.onboarding.accentTextColor
        }
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.trailingSymbol !== ""
            name: button.trailingSymbol
            color: button.onboarding.accentTextColor
            size: 15
        }
    }
}
