import QtQuick
import Murmo.Ui

// The user's speaking pace against typing.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.centerIn: parent
        spacing: 26

        StepTitle {
            anchors.horizontalCenter: parent.horizontalCenter
            onboarding: step.onboarding
            title: step.copy["nicejob.title"]
            subtitle: step.copy["nicejob.lead"]
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 24
            Repeater {
                model: [
                    { heading: step.copy["nicejob.voice"], figure: step.onboarding.voiceLine, strong: true },
                    { heading: step.copy["nicejob.typing"], figure: step.onboarding.typingLine, strong: false }
                ]
                Rectangle {
                    required property var modelData
                    width: 280
                    height: 150
                    radius: 18
                    color: modelData.strong ? step.onboarding.chipOnColor : step.onboarding.cardColor
                    border.width: modelData.strong ? 2 : 1
                    border.color: modelData.strong ? step.onboarding.accentColor : step.onboarding.lineColor
                    Column {
                        anchors.centerIn: parent
                        spacing: 8
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: modelData.heading
                            font.pixelSize: 13
                            font.bold: true
                            font.letterSpacing: 1
                            color: step.onboarding.secondaryColor
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: modelData.figure
                            textFormat: Text.StyledText
                            font.pixelSize: 28
                            color: modelData.strong ? step.onboarding.accentColor : step.onboarding.textColor
                        }
                    }
                }
            }
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 10
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "arrow.turn.right.down"
                color: step.onboarding.accentColor
                size: 22
            }
            Text {
                text: step.onboarding.factorLine
                textFormat: Text.StyledText
                font.pixelSize: 30
                color: step.onboarding.textColor
            }
        }
    }
}
