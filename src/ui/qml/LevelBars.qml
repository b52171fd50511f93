import QtQuick

// Bars whose heights are fractions of `barHeight`.
Row {
    id: meter

    property var bars: []
    property real barHeight: 60
    property real barWidth: 4
    property color barColor

    spacing: barWidth

    Repeater {
        model: meter.bars.length

        Rectangle {
            required property int index
            anchors.verticalCenter: parent.verticalCenter
            width: meter.barWidth
            height: Math.max(meter.barWidth, meter.bars[index] * meter.barHeight)
            radius: width / 2
            color: meter.barColor
            Behavior on height { NumberAnimation { duration: 50 } }
        }
    }
}
