import QtQuick
import Murmo.Ui

// The small round cross that abandons the request in flight.
Rectangle {
    required property PillModel pill

    width: 16
    height: 16
    radius: width / 2
    color: pill.cancelBackColor

    Symbol {
        anchors.centerIn: parent
        name: "xmark"
        color: pill.cancelSymbolColor
        size: 12
    }

    MouseArea {
        anchors.fill: parent
        onClicked: pill.cancelProcessing()
    }
}
