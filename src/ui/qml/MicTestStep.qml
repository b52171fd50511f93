import QtQuick
import Murmo.Ui

// Live level bars while the microphone test runs.
Item {
    id: step

    required property OnboardingView onboarding

    Column {
        anchors.centerIn: parent
        spacing: 36

        StepTitle {
            anchors.horizontalCenter: parent.horizontalCenter
            onboarding: step.onboarding
            title: step.onboarding.copy["micTest.title"]
            subtitle: step.onboarding.copy["micTest.subtitle"]
        }
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 420
            height: 180
            radius: 24
            color: step.onboarding.cardColor
            border.color: step.onboarding.lineColor

            LevelBars {
                anchors.centerIn: parent
                bars: step.onboarding.levelBars
                barHeight: 120
                barWidth: 14
                barColor: step.onboarding.accentColor
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: step.onboarding.copy["micTest.question"]
            font.pixelSize: 16
            color: step.onboarding.secondaryColor
        }
    }
}
