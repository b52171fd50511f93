import QtQuick
import Murmo.Ui

// Words on small capsules, wrapping onto further lines.
Flow {
    id: chips

    required property HomeTheme theme
    required property list<string> items

    spacing: 6

    Repeater {
        model: chips.items
        Rectangle {
            required property string modelData
            width: label.implicitWidth + 20
            height: 26
            radius: 13
            color: chips.theme.raised
            Text {
                id: label
                anchors.centerIn: parent
                text: modelData
                color: chips.theme.text
                font.pixelSize: chips.theme.smallSize + 1
            }
        }
    }
}
