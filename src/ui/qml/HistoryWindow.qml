import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Window
import Murmo.Ui

// "Murmo History": a search field, the matching records (or the empty state), and a footer.
Window {
    id: window

    required property HistoryWindowModel history

    title: history.title
    width: history.defaultSize.width
    height: history.defaultSize.height
    minimumWidth: history.minimumSize.width
    minimumHeight: history.minimumSize.height
    color: system.window

    SystemPalette {
        id: system
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        TextField {
            objectName: "search"
            Layout.fillWidth: true
            placeholderText: history.searchPrompt
            onTextChanged: history.query = text
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                anchors.centerIn: parent
                visible: history.emptyStateVisible
                spacing: 8

                Symbol {
                    Layout.alignment: Qt.AlignHCenter
                    name: "waveform"
                    color: history.secondaryColor
                    size: 34
                }
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    text: history.emptyTitle
                    font.pixelSize: 17
                    font.weight: Font.DemiBold
                }
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    horizontalAlignment: Text.AlignHCenter
                    text: history.emptyMessage
                    color: history.secondaryColor
                    font.pixelSize: 15
                }
            }

            Frame {
                anchors.fill: parent
                visible: !history.emptyStateVisible
                padding: 0

                ListView {
                    id: list
                    objectName: "records"
                    anchors.fill: parent
                    clip: true
                    model: history
                    ScrollBar.vertical: ScrollBar {}

                    delegate: ItemDelegate {
                        id: row

                        required property int index
                        required property string transcript
                        required property string date
                        required property string category
                        required property bool copied

                        width: ListView.view.width
                        onClicked: history.copy(index)

                        contentItem: ColumnLayout {
                            spacing: 3

                            Label {
                                Layout.fillWidth: true
                                text: row.transcript
                                wrapMode: Text.Wrap
                                font.pixelSize: 13
                            }
                            RowLayout {
                                spacing: 6

                                Label {
                                    text: row.date
                                    color: history.secondaryColor
                                    font.pixelSize: 11
                                }
                                Label {
                                    visible: row.category.length > 0
                                    text: row.category
                                    color: history.secondaryColor
                                    font.pixelSize: 11
                                    leftPadding: 6
                                    rightPadding: 6
                                    topPadding: 1
                                    bottomPadding: 1
                                    background: Rectangle {
                                        radius: height / 2
                                        color: history.chipColor
                                    }
                                }
                                Label {
                                    visible: row.copied
                                    text: history.copiedText
                                    color: history.copiedColor
                                    font.pixelSize: 11
                                    font.weight: Font.DemiBold
                                }
                            }
                        }

                        TapHandler {
                            acceptedButtons: Qt.RightButton
                            onTapped: menu.popup()
                        }
                        Menu {
                            id: menu
                            MenuItem {
                                text: history.copyText
                                onTriggered: history.copy(row.index)
                            }
                            MenuItem {
                                text: history.deleteText
                                onTriggered: history.remove(row.index)
                            }
                        }
                    }
                }
            }
        }

        RowLayout {
            spacing: 6

            Symbol {
                name: "icloud"
                color: history.secondaryColor
                size: 14
            }
            Label {
                text: history.footerText
                color: history.secondaryColor
                font.pixelSize: 11
            }
        }
    }
}
