import QtQuick
import Murmo.Ui

// A question answered by one chip, with a scatter of symbols around the choices.
Item {
    id: step

    required property OnboardingView onboarding
    property string titleKey
    property string subtitleKey
    property var chips: []

    signal chosen(string label)

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 620
        spacing: 32

        StepTitle {
            onboarding: step.onboarding
            title: step.onboarding.copy[step.titleKey]
            subtitle: step.onboarding.copy[step.subtitleKey]
        }
        ChipWrap {
            width: parent.width
            onboarding: step.onboarding
            chips: step.chips
            onChosen: (label) => step.chosen(label)
        }
    }

    Repeater {
        model: ["bubble.left.fill", "sparkles", "megaphone.fill", "envelope.fill", "doc.text.fill", "note.text"]

        Rectangle {
            required property int index
            required property string modelData
            x: step.width - 360 + [40, 200, 110, 280, 20, 230][index]
            y: step.height / 2 - 170 + [10, 0, 120, 140, 250, 280][index]
            width: 64
            height: 64
            radius: 20
            color: step.onboarding.chipOnColor
            rotation: [-8, 6, 3, -5, 7, -4][index]

            Symbol {
                anchors.centerIn: parent
                name: parent.modelData
                color: step.onboarding.accentColor
                size: 28
            }
        }
    }
}
