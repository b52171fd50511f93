import QtQuick
import Murmo.Ui

// The first screen: the promise, and an e-mail writing itself as if dictated.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy
    readonly property var words: copy["welcome.body"].split(" ")
    property int shownWords: 0

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 500
        spacing: 20

        Text {
            text: step.onboarding.welcomeHeading
            textFormat: Text.StyledText
            font.pixelSize: 52
            font.bold: true
            lineHeight: 1.0
            color: step.onboarding.textColor
        }
        Text {
            width: parent.width
            text: step.copy["welcome.subtitle"]
            font.pixelSize: 18
            wrapMode: Text.WordWrap
            color: step.onboarding.secondaryColor
        }
        Row {
            spacing: 8
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "checkmark.shield.fill"
                color: step.onboarding.doneColor
                size: 16
            }
            Text {
                text: step.copy["welcome.reassurance"]
                font.pixelSize: 14
                color: step.onboarding.secondaryColor
            }
        }
    }

    Rectangle {
        id: mail
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 480
        height: 360
        radius: 18
        color: step.onboarding.cardColor
        border.color: step.onboarding.lineColor

        Column {
            anchors.fill: parent
            anchors.margins: 24
            spacing: 12

            Text { text: step.copy["welcome.to"]; font.pixelSize: 14; color: step.onboarding.secondaryColor }
            Rectangle { width: parent.width; height: 1; color: step.onboarding.lineColor }
            Text { text: step.copy["welcome.subject"]; font.pixelSize: 14; color: step.onboarding.secondaryColor }
            Rectangle { width: parent.width; height: 1; color: step.onboarding.lineColor }
            Text {
                width: parent.width
                text: step.words.slice(0, step.shownWords).join(" ")
                font.pixelSize: 16
                wrapMode: Text.WordWrap
                lineHeight: 1.3
                color: step.onboarding.textColor
            }
        }

        Timer {
            interval: 140
            repeat: true
            running: step.shownWords < step.words.length
            onTriggered: step.shownWords += 1
        }
    }

    Rectangle {
        anchors.horizontalCenter: mail.horizontalCenter
        anchors.top: mail.bottom
        anchors.topMargin: -22
        width: pillText.implicitWidth + 80
        height: 44
        radius: 22
        color: "#1c1c24"

        Row {
            anchors.centerIn: parent
            spacing: 10
            LevelBars {
                anchors.verticalCenter: parent.verticalCenter
                bars: [0.5, 0.8, 1.0, 0.7, 0.9, 0.6, 0.8, 0.4]
                barHeight: 18
                barColor: step.onboarding.accentColor
            }
            Text {
                id: pillText
                text: step.onboarding.pillLine
                textFormat: Text.StyledText
                font.pixelSize: 14
                color: "white"
            }
        }
    }
}
