import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// The settings section, in a fixed order; every control writes through at once.
Item {
    id: section

    required property HomeTheme theme
    required property SettingsPanel settings
    required property LanguagePicker language

    Text {
        id: title
        x: 28
        y: 28
        text: section.settings.title
        color: section.theme.text
        font.pixelSize: section.theme.titleSize
        font.weight: Font.Bold
    }

    Card {
        anchors { left: parent.left; right: parent.right; top: title.bottom; margins: 28; topMargin: 20 }
        theme: section.theme
        padding: 8

        Column {
            x: 12
            width: parent.width - 24

            SettingsRow {
                theme: section.theme
                title: section.settings.hotkeyTitle
                ComboBox {
                    objectName: "hotkeyPicker"
                    width: 230
                    model: section.settings.hotkeyLabels
                    currentIndex: section.settings.hotkeyIndex
                    onActivated: index => section.settings.hotkeyIndex = index
                }
            }
            SettingsRow {
                theme: section.theme
                title: section.settings.languageTitle
                ComboBox {
                    objectName: "languagePicker"
                    width: 230
                    model: section.language.labels
                    currentIndex: section.language.index
                    displayText: section.language.currentLabel
                    onActivated: index => section.language.index = index
                }
            }
            SettingsRow {
                theme: section.theme
                title: section.settings.nudgesTitle
                detail: section.settings.nudgesDetail
                ToggleSwitch {
                    objectName: "nudgesSwitch"
                    theme: section.theme
                    checked: section.settings.nudges
                    onToggled: section.settings.nudges = checked
                }
            }
            SettingsRow {
                theme: section.theme
                title: section.settings.syncTitle
                detail: section.settings.syncDetail
                ToggleSwitch {
                    objectName: "syncSwitch"
                    theme: section.theme
                    checked: section.settings.sync
                    onToggled: section.settings.sync = checked
                }
            }
            Item {
                width: parent.width
                height: 64
                Button {
                    anchors.verticalCenter: parent.verticalCenter
                    text: section.settings.quitText
                    onClicked: section.settings.quit()
                }
            }
        }
    }
}
