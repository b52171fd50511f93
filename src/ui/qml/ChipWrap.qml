import QtQuick
import Murmo.Ui

// Chips that wrap onto as many lines as the width needs.
Flow {
    id: wrap

    required property OnboardingView onboarding
    property var chips: []

    signal chosen(string label)

    spacing: 10

    Repeater {
        model: wrap.chips

        Chip {
            required property var modelData
            onboarding: wrap.onboarding
            label: modelData.label
            symbol: modelData.symbol
            on: modelData.on
            onClicked: wrap.chosen(modelData.label)
        }
    }
}
