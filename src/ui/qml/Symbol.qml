import QtQuick

// One of the module's monochrome symbols, painted in one colour.
Image {
    required property string name
    property color color
    property real size: 12

    width: size
    height: size
    sourceSize: Qt.size(size, size)
    source: "image://symbol/" + name + "/" + color
}
