import QtQuick

// One of the module's monochrome symbols, painted in one colour.
Image {
    required property string name
    property color color
    property real size: 12

    width: size
    height: size
    sourceSize: Qt.size(size, size)
    // Nothing to draw until a model names a symbol.
    source: name.length > 0 ? "image://symbol/" + name + "/" + color : ""
}
