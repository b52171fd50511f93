import QtQuick

// A soft shadow under a capsule or a rounded card, built from rings that grow fainter outwards.
Item {
    id: shadow

    property real strength
    property real radius
    property real offset
    property real cornerRadius: height / 2
    readonly property int rings: 12

    Repeater {
        model: shadow.rings

        Rectangle {
            required property int index
            readonly property real spread: shadow.radius * (index + 1) / shadow.rings

            x: -spread
            y: shadow.offset - spread
            width: shadow.width + 2 * spread
            height: shadow.height + 2 * spread
            radius: shadow.cornerRadius + spread
            color: "black"
            opacity: shadow.strength / shadow.rings
        }
    }
}
