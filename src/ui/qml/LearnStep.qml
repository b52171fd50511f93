import QtQuick
import QtQuick.Controls
import Murmo.Ui

// A practice reply in a mock chat: real dictation lands in the field, typing counts too.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.centerIn: parent
        spacing: 24

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: step.onboarding.learnHeading
            textFormat: Text.StyledText
            font.pixelSize: 40
            font.bold: true
            color: step.onboarding.textColor
        }

        Rectangle {
            width: 640
            height: 330
            radius: 18
            color: step.onboarding.cardColor
            border.color: step.onboarding.lineColor

            Column {
                anchors.fill: parent
                anchors.margins: 22
                spacing: 16

                Text {
                    text: step.copy["learn.channel"]
                    font.pixelSize: 14
                    font.bold: true
                    color: step.onboarding.secondaryColor
                }
                Row {
                    spacing: 12
                    Rectangle {
                        width: 36
                        height: 36
                        radius: 10
                        color: step.onboarding.brandColors[0]
                        Text { anchors.centerIn: parent; text: step.copy["learn.colleague"].charAt(0); color: "white"; font.bold: true; font.pixelSize: 16 }
                    }
                    Column {
                        Text { text: step.copy["learn.colleague"]; font.pixelSize: 14; font.bold: true; color: step.onboarding.textColor }
                        Text { text: step.copy["learn.message"]; font.pixelSize: 15; color: step.onboarding.textColor }
                    }
                }
                Rectangle {
                    width: parent.width
                    height: 150
                    radius: 12
                    color: step.onboarding.backgroundColor
                    border.width: reply.activeFocus ? 2 : 1
                    border.color: reply.activeFocus ? step.onboarding.accentColor : step.onboarding.lineColor

                    ScrollView {
                        anchors.fill: parent
                        anchors.margins: 6
                        TextArea {
                            id: reply
                            objectName: "learnField"
                            text: step.onboarding.model.learnText
                            placeholderText: step.onboarding.learnPlaceholder
                            wrapMode: TextEdit.Wrap
                            font.pixelSize: 16
                            color: step.onboarding.textColor
                            background: null
                            onTextChanged: step.onboarding.model.learnText = text
                        }
                    }
                }
            }
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: step.onboarding.learnDone ? step.copy["learn.wellDone"] : step.onboarding.learnInstruction
            font.pixelSize: 16
            font.bold: step.onboarding.learnDone
            color: step.onboarding.learnDone ? step.onboarding.doneColor : step.onboarding.secondaryColor
        }
    }
}
