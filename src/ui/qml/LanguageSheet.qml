import QtQuick
import QtQuick.Controls
import Murmo.Ui

// The language picker as a sheet over the window; clicking outside discards the edits.
Rectangle {
    id: sheet

    required property OnboardingView onboarding
    property LanguagePickerModal picker

    color: "#66000000"

    MouseArea {
        anchors.fill: parent
        onClicked: sheet.picker.dismiss()
    }

    Rectangle {
        anchors.centerIn: parent
        width: 560
        height: content.implicitHeight + 48
        radius: 18
        color: sheet.onboarding.cardColor

        MouseArea { anchors.fill: parent } // clicks on the sheet stay on it

        Column {
            id: content
            x: 24
            y: 24
            width: parent.width - 48
            spacing: 14

            Item {
                width: parent.width
                height: titles.implicitHeight
                Column {
                    id: titles
                    spacing: 4
                    Text { text: sheet.picker ? sheet.picker.title : ""; font.pixelSize: 22; font.bold: true; color: sheet.onboarding.textColor }
                    Text { text: sheet.picker ? sheet.picker.subtitle : ""; font.pixelSize: 14; color: sheet.onboarding.secondaryColor }
                }
                Switch {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    text: sheet.picker ? sheet.picker.autoDetectText : ""
                    font.pixelSize: 14
                    checked: sheet.picker ? sheet.picker.autoDetect : false
                    onToggled: sheet.picker.autoDetect = checked
                }
            }
            Rectangle {
                width: parent.width
                height: 44
                radius: 12
                color: sheet.onboarding.backgroundColor
                border.color: sheet.onboarding.lineColor
                Symbol {
                    id: glass
                    anchors.left: parent.left
                    anchors.leftMargin: 14
                    anchors.verticalCenter: parent.verticalCenter
                    name: "magnifyingglass"
                    color: sheet.onboarding.secondaryColor
                    size: 15
                }
                TextField {
                    objectName: "languageSearch"
                    anchors.left: glass.right
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    background: null
                    font.pixelSize: 15
                    placeholderText: sheet.picker ? sheet.picker.searchPlaceholder : ""
                    text: sheet.picker ? sheet.picker.query : ""
                    onTextEdited: sheet.picker.query = text
                }
            }
            Text { text: sheet.picker ? sheet.picker.selectedTitle : ""; font.pixelSize: 14; font.bold: true; color: sheet.onboarding.textColor }
            Text {
                visible: sheet.picker ? sheet.picker.noneChosen : false
                text: sheet.picker ? sheet.picker.noneChosenText : ""
                font.pixelSize: 13
                color: sheet.onboarding.secondaryColor
            }
            Flow {
                width: parent.width
                spacing: 8
                Repeater {
                    model: sheet.picker ? sheet.picker.chips : []
                    Chip {
                        required property var modelData
                        implicitHeight: 34
                        onboarding: sheet.onboarding
                        label: modelData.label
                        symbol: "minus"
                        on: true
                        onClicked: sheet.picker.toggle(modelData.code)
                    }
                }
            }
            ListView {
                width: parent.width
                height: 356
                clip: true
                model: sheet.picker ? sheet.picker.rows : []
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {}
                delegate: MouseArea {
                    required property var modelData
                    width: ListView.view.width
                    height: 48
                    onClicked: sheet.picker.toggle(modelData.code)
                    Column {
                        anchors.verticalCenter: parent.verticalCenter
                        x: 8
                        Text { text: modelData.name; font.pixelSize: 14; font.bold: true; color: sheet.onboarding.textColor }
                        Text { visible: modelData.nativeName !== ""; text: modelData.nativeName; font.pixelSize: 12; color: sheet.onboarding.secondaryColor }
                    }
                    Symbol {
                        anchors.right: parent.right
                        anchors.rightMargin: 12
                        anchors.verticalCenter: parent.verticalCenter
                        name: modelData.selected ? "checkmark.circle.fill" : "circle"
                        color: modelData.selected ? sheet.onboarding.accentColor : sheet.onboarding.lineColor
                        size: 20
                    }
                }
            }
            AccentButton {
                objectName: "saveLanguages"
                width: parent.width
                onboarding: sheet.onboarding
                text: sheet.picker ? sheet.picker.saveText : ""
                onClicked: sheet.picker.save()
            }
        }
    }
}
