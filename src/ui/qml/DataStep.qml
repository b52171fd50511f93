import QtQuick
import Murmo.Ui

// Where the history lives: two radio cards.
Item {
    id: step

    required property OnboardingView onboarding

    Column {
        anchors.centerIn: parent
        width: 760
        spacing: 28

        StepTitle {
            onboarding: step.onboarding
            title: step.onboarding.copy["data.title"]
            subtitle: step.onboarding.copy["data.note"]
        }
        Row {
            spacing: 20

            Repeater {
                model: step.onboarding.storageCards

                MouseArea {
                    required property int index
                    required property var modelData
                    width: 370
                    height: 170
                    cursorShape: Qt.PointingHandCursor
                    onClicked: step.onboarding.model.chooseStorage(index === 0)

                    Rectangle {
                        anchors.fill: parent
                        radius: 18
                        color: modelData.on ? step.onboarding.chipOnColor : step.onboarding.cardColor
                        border.width: modelData.on ? 2 : 1
                        border.color: modelData.on ? step.onboarding.accentColor : step.onboarding.lineColor
                        Behavior on color { ColorAnimation { duration: 160 } }
                    }
                    Column {
                        anchors.fill: parent
                        anchors.margins: 22
                        spacing: 10
                        Row {
                            spacing: 10
                            Symbol {
                                anchors.verticalCenter: parent.verticalCenter
                                name: modelData.symbol
                                color: modelData.on ? step.onboarding.accentColor : step.onboarding.secondaryColor
                                size: 20
                            }
                            Text {
                                text: modelData.title
                                font.pixelSize: 18
                                font.bold: true
                                color: step.onboarding.textColor
                            }
                        }
                        Text {
                            width: parent.width
                            text: modelData.detail
                            font.pixelSize: 14
                            wrapMode: Text.WordWrap
                            lineHeight: 1.2
                            color: step.onboarding.secondaryColor
                        }
                    }
                }
            }
        }
    }
}
