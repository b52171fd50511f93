import QtQuick
import Murmo.Ui

// One setting: its title and explanation on the left, its control on the right.
Item {
    id: row

    required property HomeTheme theme
    required property string title
    property string detail
    default property alias control: slot.data

    width: parent.width
    height: Math.max(64, texts.implicitHeight + 28)

    Column {
        id: texts
        anchors { left: parent.left; right: slot.left; verticalCenter: parent.verticalCenter; rightMargin: 16 }
        spacing: 3
        Text {
            text: row.title
            color: row.theme.text
            font.pixelSize: 14
            font.weight: Font.DemiBold
        }
        Text {
            visible: row.detail.length > 0
            width: parent.width
            text: row.detail
            color: row.theme.secondaryText
            wrapMode: Text.Wrap
        }
    }
    Item {
        id: slot
        anchors { right: parent.right; verticalCenter: parent.verticalCenter }
        width: childrenRect.width
        height: childrenRect.height
    }
    Rectangle {
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 1
        color: row.theme.cardBorder
    }
}
