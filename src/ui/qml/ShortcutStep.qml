import QtQuick
import Murmo.Ui

// The hold key: a choice per key, the key drawn large and a pill that lights up while held.
Item {
    id: step

    required property OnboardingView onboarding

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 560
        spacing: 28

        StepTitle {
            onboarding: step.onboarding
            title: step.onboarding.copy["shortcut.title"]
            subtitle: step.onboarding.copy["shortcut.subtitle"]
        }
        Row {
            spacing: 10
            Repeater {
                model: step.onboarding.hotkeyChoices
                Chip {
                    required property int index
                    required property var modelData
                    onboarding: step.onboarding
                    label: modelData.label
                    on: modelData.on
                    onClicked: step.onboarding.chooseHotkey(index)
                }
            }
        }
        Text {
            text: step.onboarding.holdHint
            font.pixelSize: 16
            color: step.onboarding.textColor
        }
        Text {
            text: step.onboarding.copy["shortcut.question"]
            font.pixelSize: 14
            color: step.onboarding.secondaryColor
        }
    }

    Column {
        anchors.right: parent.right
        anchors.rightMargin: 40
        anchors.verticalCenter: parent.verticalCenter
        spacing: 40

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: keyText.implicitWidth + 80
            height: 110
            radius: 20
            color: step.onboarding.holdActive ? step.onboarding.chipOnColor : step.onboarding.cardColor
            border.width: 2
            border.color: step.onboarding.holdActive ? step.onboarding.accentColor : step.onboarding.lineColor
            y: step.onboarding.holdActive ? 6 : 0
            Text {
                id: keyText
                anchors.centerIn: parent
                text: step.onboarding.keyLabel
                font.pixelSize: 30
                font.bold: true
                color: step.onboarding.textColor
            }
        }
        Rectangle {
            objectName: "holdPill"
            anchors.horizontalCenter: parent.horizontalCenter
            width: step.onboarding.holdActive ? 180 : 116
            height: 44
            radius: 22
            color: step.onboarding.holdActive ? "#10203f" : "#3a3a44"
            border.width: step.onboarding.holdActive ? 2 : 0
            border.color: step.onboarding.accentColor
            Behavior on width { SpringAnimation { spring: 5; damping: 0.35 } }

            LevelBars {
                anchors.centerIn: parent
                bars: step.onboarding.levelBars
                barHeight: 24
                barWidth: 3
                barColor: step.onboarding.holdActive ? "#6ea8ff" : "#8a8a96"
            }
        }
    }
}
