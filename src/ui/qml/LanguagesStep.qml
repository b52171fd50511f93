import QtQuick
import Murmo.Ui

// The chosen languages as chips; the picker opens as a sheet.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 760
        spacing: 26

        StepTitle {
            onboarding: step.onboarding
            title: step.copy["languages.title"]
            subtitle: step.copy["languages.subtitle"]
        }
        Row {
            spacing: 14
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: step.copy["languages.selected"]
                font.pixelSize: 16
                font.bold: true
                color: step.onboarding.textColor
            }
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                visible: step.onboarding.autoDetectBadge
                width: badge.implicitWidth + 20
                height: 26
                radius: 13
                color: step.onboarding.chipOnColor
                Row {
                    id: badge
                    anchors.centerIn: parent
                    spacing: 6
                    Symbol { anchors.verticalCenter: parent.verticalCenter; name: "wand.and.stars"; color: step.onboarding.accentColor; size: 13 }
                    Text { text: step.copy["languages.autoDetect"]; font.pixelSize: 12; font.bold: true; color: step.onboarding.accentColor }
                }
            }
        }
        Flow {
            width: parent.width
            spacing: 10
            Repeater {
                model: step.onboarding.languageChips
                Chip {
                    required property string modelData
                    onboarding: step.onboarding
                    label: modelData
                    on: true
                    onClicked: step.onboarding.openLanguages()
                }
            }
            Chip {
                onboarding: step.onboarding
                symbol: "plus"
                onClicked: step.onboarding.openLanguages()
            }
        }
        PlainButton {
            objectName: "changeLanguages"
            text: step.copy["languages.change"]
            textColor: step.onboarding.accentColor
            onClicked: step.onboarding.openLanguages()
        }
    }
}
