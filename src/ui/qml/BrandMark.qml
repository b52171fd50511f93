import QtQuick

// Murmo's mark: a few rounded bars of the given heights, scaled to `size`.
Row {
    id: mark

    required property list<int> heights
    property real size: 24
    property color color: "white"

    spacing: size / 10
    height: size

    Repeater {
        model: mark.heights
        Rectangle {
            required property int modelData
            width: mark.size / 7
            height: mark.size * modelData / 15
            radius: width / 2
            color: mark.color
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
