import QtQuick
import Murmo.Ui

// A rounded panel that holds one group of content, padded; its height follows the content.
Rectangle {
    id: card

    required property HomeTheme theme
    default property alias content: inner.data
    property int padding: 20

    color: theme.card
    radius: theme.radius
    border.color: theme.cardBorder
    border.width: 1
    implicitHeight: inner.childrenRect.height + padding * 2

    Item {
        id: inner
        anchors { fill: parent; margins: card.padding }
    }
}
