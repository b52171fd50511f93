import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// A filled button with a symbol; while busy it shows a small progress indicator and takes no
// clicks.
Button {
    id: button

    required property HomeTheme theme
    required property string symbol
    property bool busy

    enabled: !busy
    leftPadding: 16
    rightPadding: 16
    topPadding: 9
    bottomPadding: 9

    background: Rectangle {
        radius: 10
        color: button.theme.accentFill
        opacity: button.down ? 0.8 : 1
    }
    contentItem: Row {
        spacing: 8
        Item {
            width: 16
            height: 16
            anchors.verticalCenter: parent.verticalCenter
            Symbol {
                visible: !button.busy
                name: button.symbol
                color: "white"
                size: 16
            }
            BusyIndicator {
                visible: button.busy
                running: visible
                anchors.centerIn: parent
                width: 20
                height: 20
                padding: 0
            }
        }
        Text {
            text: button.text
            color: "white"
            font.weight: Font.DemiBold
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
