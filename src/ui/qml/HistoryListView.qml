import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// The history section: every dictation, newest first; rows are made only for what shows.
Item {
    id: section

    required property HomeTheme theme
    required property HistoryList list

    Text {
        id: title
        x: 28
        y: 28
        text: section.list.title
        color: section.theme.text
        font.pixelSize: section.theme.titleSize
        font.weight: Font.Bold
    }

    Text {
        anchors.centerIn: parent
        visible: section.list.empty
        text: section.list.emptyText
        color: section.theme.secondaryText
        font.pixelSize: 14
    }

    ListView {
        id: rows
        objectName: "historyRows"
        anchors { left: parent.left; right: parent.right; top: title.bottom; bottom: parent.bottom;
                  leftMargin: 28; rightMargin: 28; topMargin: 18 }
        clip: true
        spacing: 8
        model: section.list
        reuseItems: true
        ScrollBar.vertical: ScrollBar {}

        delegate: Rectangle {
            id: row
            required property string text
            required property string time
            required property string deviceSymbol

            width: ListView.view.width - 14
            height: body.implicitHeight + 28
            radius: 12
            color: section.theme.card
            border.color: section.theme.cardBorder

            Symbol {
                id: device
                x: 16
                y: 16
                name: row.deviceSymbol
                color: section.theme.secondaryText
                size: 16
            }
            Column {
                id: body
                anchors { left: device.right; right: parent.right; top: parent.top;
                          leftMargin: 14; rightMargin: 16; topMargin: 14 }
                spacing: 4
                Text {
                    text: row.time
                    color: section.theme.faintText
                    font.pixelSize: section.theme.smallSize
                }
                Text {
                    width: parent.width
                    text: row.text
                    color: section.theme.text
                    wrapMode: Text.Wrap
                    maximumLineCount: 4
                    elide: Text.ElideRight
                }
            }
        }
    }
}
