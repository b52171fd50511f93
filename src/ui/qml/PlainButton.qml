import QtQuick

// A borderless text button with an optional symbol on either side.
MouseArea {
    id: button

    property string text
    property string leadingSymbol
    property string trailingSymbol
    property color textColor

    implicitWidth: row.implicitWidth + 16
    implicitHeight: 40
    cursorShape: Qt.PointingHandCursor

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.leadingSymbol !== ""
            name: button.leadingSymbol
            color: button.textColor
            size: 13
        }
        Text {
            text: button.text
            font.pixelSize: 15
            font.bold: true
            color: button.textColor
        }
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.trailingSymbol !== ""
            name: button.trailingSymbol
            color: button.textColor
            size: 13
        }
    }
}
