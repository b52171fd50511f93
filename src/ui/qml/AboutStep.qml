import QtQuick
import Murmo.Ui

// The user's work, and what others say.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 620
        spacing: 24

        StepTitle {
            onboarding: step.onboarding
            title: step.copy["about.title"]
        }
        Text {
            text: step.copy["about.question"]
            font.pixelSize: 18
            font.bold: true
            color: step.onboarding.textColor
        }
        ChipWrap {
            width: parent.width
            onboarding: step.onboarding
            chips: step.onboarding.roleChips
            onChosen: (label) => step.onboarding.model.chooseRole(label)
        }
    }

    Rectangle {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 340
        height: 220
        radius: 18
        color: step.onboarding.cardColor
        border.color: step.onboarding.lineColor

        Column {
            anchors.fill: parent
            anchors.margins: 24
            spacing: 16

            Text {
                text: step.onboarding.trustedLine
                textFormat: Text.StyledText
                font.pixelSize: 15
                color: step.onboarding.secondaryColor
            }
            Text {
                width: parent.width
                text: step.copy["about.quote"]
                font.pixelSize: 18
                font.italic: true
                wrapMode: Text.WordWrap
                lineHeight: 1.25
                color: step.onboarding.textColor
            }
        }
    }
}
