import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Window
import Murmo.Ui

// A plain window with its title and size that says in one line what will be there.
Window {
    required property PlaceholderWindowModel placeholder

    title: placeholder.title
    width: placeholder.contentSize.width
    height: placeholder.contentSize.height
    minimumWidth: placeholder.minimumSize.width
    minimumHeight: placeholder.minimumSize.height
    color: system.window

    SystemPalette {
        id: system
    }

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 16

        Label {
            Layout.alignment: Qt.AlignHCenter
            text: placeholder.message
            font.pixelSize: 17
        }
        Button {
            Layout.alignment: Qt.AlignHCenter
            visible: placeholder.actionVisible
            text: placeholder.actionText
            onClicked: placeholder.act()
        }
    }
}
