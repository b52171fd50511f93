import QtQuick
import Murmo.Ui

// The section buttons, under Murmo's mark.
Rectangle {
    id: railView

    required property HomeTheme theme
    required property NavRail rail
    required property list<int> brandBars

    color: theme.rail

    Row {
        id: brand
        x: 22
        y: 26
        spacing: 10
        BrandMark {
            heights: railView.brandBars
            size: 22
            color: railView.theme.accent
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: "Murmo"
            color: railView.theme.text
            font.pixelSize: 18
            font.weight: Font.Bold
            anchors.verticalCenter: parent.verticalCenter
        }
    }

    Column {
        anchors { left: parent.left; right: parent.right; top: brand.bottom; margins: 12; topMargin: 28 }
        spacing: 4

        Repeater {
            model: railView.rail.sections
            Rectangle {
                id: item
                required property var modelData
                required property int index
                readonly property bool selected: index === railView.rail.currentIndex

                objectName: "section-" + modelData.label
                width: parent.width
                height: 40
                radius: 10
                color: selected ? railView.theme.selection : (area.containsMouse ? railView.theme.raised : "transparent")

                Row {
                    anchors { left: parent.left; leftMargin: 14; verticalCenter: parent.verticalCenter }
                    spacing: 12
                    Symbol {
                        name: item.modelData.symbol
                        color: item.selected ? railView.theme.accent : railView.theme.secondaryText
                        size: 16
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    Text {
                        text: item.modelData.label
                        color: item.selected ? railView.theme.text : railView.theme.secondaryText
                        font.pixelSize: 14
                        font.weight: item.selected ? Font.DemiBold : Font.Normal
                        anchors.verticalCenter: parent.verticalCenter
                    }
                }
                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: railView.rail.currentIndex = item.index
                }
            }
        }
    }
}
