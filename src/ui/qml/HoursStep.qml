import QtQuick
import QtQuick.Controls
import Murmo.Ui

// The time a week the user could save, from their estimate of typing a day.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.centerIn: parent
        spacing: 30

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: step.copy["hours.lead"]
            font.pixelSize: 24
            color: step.onboarding.secondaryColor
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: step.onboarding.savingsLine
            textFormat: Text.StyledText
            font.pixelSize: 64
            font.bold: true
            color: step.onboarding.textColor
        }
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 560
            height: 120
            radius: 18
            color: step.onboarding.cardColor
            border.color: step.onboarding.lineColor

            Column {
                anchors.fill: parent
                anchors.margins: 22
                spacing: 12
                Item {
                    width: parent.width
                    height: 22
                    Text { text: step.copy["hours.slider"]; font.pixelSize: 15; color: step.onboarding.textColor }
                    Text { anchors.right: parent.right; text: step.onboarding.typingHoursText; font.pixelSize: 15; font.bold: true; color: step.onboarding.accentColor }
                }
                Slider {
                    width: parent.width
                    from: 1
                    to: 10
                    stepSize: 1
                    snapMode: Slider.SnapAlways
                    value: step.onboarding.model.typingHoursPerDay
                    onMoved: step.onboarding.model.typingHoursPerDay = value
                }
            }
        }
    }
}
