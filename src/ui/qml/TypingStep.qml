import QtQuick
import Murmo.Ui

// Where the user types: any number of chips, and three AI tools.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 620
        spacing: 32

        StepTitle {
            onboarding: step.onboarding
            title: step.copy["typing.title"]
            subtitle: step.copy["typing.subtitle"]
        }
        ChipWrap {
            width: parent.width
            onboarding: step.onboarding
            chips: step.onboarding.contextChips
            onChosen: (label) => step.onboarding.model.toggleContext(label)
        }
    }

    Column {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: 14

        Repeater {
            model: step.copy["typing.tools"]

            Rectangle {
                required property int index
                required property string modelData
                width: 280
                height: 64
                radius: 16
                color: step.onboarding.cardColor
                border.color: step.onboarding.lineColor
                x: [0, 30, 10][index]

                Row {
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.left: parent.left
                    anchors.leftMargin: 18
                    spacing: 14
                    Rectangle {
                        width: 36
                        height: 36
                        radius: 10
                        color: step.onboarding.brandColors[index]
                        Symbol {
                            anchors.centerIn: parent
                            name: step.copy["typing.toolSymbols"][index]
                            color: "white"
                            size: 20
                        }
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: modelData
                        font.pixelSize: 17
                        font.bold: true
                        color: step.onboarding.textColor
                    }
                }
            }
        }
    }
}
