import QtQml
import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// The language menu and the record button.
Rectangle {
    id: dockView

    required property HomeTheme theme
    required property BottomDock dock
    required property LanguagePicker language

    color: theme.rail

    Rectangle {
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 1
        color: dockView.theme.cardBorder
    }

    Button {
        id: languageButton
        objectName: "languageMenuButton"
        anchors { left: parent.left; leftMargin: 28; verticalCenter: parent.verticalCenter }
        leftPadding: 14
        rightPadding: 14
        contentItem: Row {
            spacing: 8
            Symbol {
                name: dockView.language.symbol
                color: dockView.theme.secondaryText
                size: 15
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: dockView.language.currentLabel
                color: dockView.theme.text
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        onClicked: languageMenu.open()

        Menu {
            id: languageMenu
            y: -height - 6
            Instantiator {
                model: dockView.language.labels
                delegate: MenuItem {
                    required property string modelData
                    required property int index
                    text: modelData
                    checkable: true
                    checked: index === dockView.language.index
                    onTriggered: dockView.language.index = index
                }
                onObjectAdded: (index, item) => languageMenu.insertItem(index, item)
                onObjectRemoved: (index, item) => languageMenu.removeItem(item)
            }
        }
    }

    Rectangle {
        objectName: "recordButton"
        anchors.centerIn: parent
        width: 46
        height: 46
        radius: 23
        color: dockView.dock.recordColor
        Symbol {
            anchors.centerIn: parent
            name: dockView.dock.recordSymbol
            color: "white"
            size: 20
        }
        MouseArea {
            anchors.fill: parent
            onClicked: dockView.dock.toggleRecording()
        }
    }
}
