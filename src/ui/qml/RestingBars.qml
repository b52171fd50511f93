import QtQuick
import Murmo.Ui

// Four short static bars: the pill at rest.
Row {
    required property PillModel pill

    spacing: 3

    Repeater {
        model: pill.restingBars

        Rectangle {
            required property int modelData

            anchors.verticalCenter: parent.verticalCenter
            width: 3
            height: modelData
            radius: width / 2
            color: pill.restingBarColor
        }
    }
}
