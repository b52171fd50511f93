import QtQuick
import Murmo.Ui

// The two permissions, each with its Allow button or check mark, and what to do when missing.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property var copy: onboarding.copy

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 600
        spacing: 22

        StepTitle {
            onboarding: step.onboarding
            title: step.copy["perms.title"]
            subtitle: step.copy["perms.note"]
        }

        Repeater {
            model: step.onboarding.permissionRows

            Rectangle {
                required property int index
                required property var modelData
                width: 600
                height: rowContent.implicitHeight + 36
                radius: 16
                color: step.onboarding.cardColor
                border.color: step.onboarding.lineColor

                Column {
                    id: rowContent
                    anchors.left: parent.left
                    anchors.right: allow.left
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.leftMargin: 20
                    anchors.rightMargin: 16
                    spacing: 4
                    Text {
                        text: modelData.title
                        font.pixelSize: 16
                        font.bold: true
                        color: step.onboarding.textColor
                    }
                    Text {
                        width: parent.width
                        text: modelData.detail
                        font.pixelSize: 13
                        wrapMode: Text.WordWrap
                        color: step.onboarding.secondaryColor
                    }
                    Text {
                        width: parent.width
                        visible: modelData.help !== ""
                        text: modelData.help
                        font.pixelSize: 13
                        wrapMode: Text.WordWrap
                        color: step.onboarding.warningColor
                    }
                }

                Item {
                    id: allow
                    anchors.right: parent.right
                    anchors.rightMargin: 18
                    anchors.verticalCenter: parent.verticalCenter
                    width: 96
                    height: 40

                    AccentButton {
                        anchors.fill: parent
                        implicitWidth: 96
                        visible: !modelData.granted
                        onboarding: step.onboarding
                        text: step.copy["perms.allow"]
                        onClicked: index === 0 ? step.onboarding.model.requestAccessibility()
                                               : step.onboarding.model.requestMicrophone()
                    }
                    Rectangle {
                        anchors.centerIn: parent
                        visible: modelData.granted
                        width: 36
                        height: 36
                        radius: 18
                        color: step.onboarding.doneColor
                        Symbol {
                            anchors.centerIn: parent
                            name: "checkmark"
                            color: "white"
                            size: 18
                        }
                    }
                }
            }
        }

        Text {
            width: 600
            visible: step.onboarding.sessionNote !== ""
            text: step.onboarding.sessionNote
            font.pixelSize: 13
            wrapMode: Text.WordWrap
            color: step.onboarding.secondaryColor
        }
    }

    Rectangle {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 300
        height: 250
        radius: 16
        color: "#ececf0"
        border.color: step.onboarding.lineColor

        Column {
            anchors.fill: parent
            anchors.margins: 22
            spacing: 12
            Rectangle {
                width: 44
                height: 44
                radius: 12
                color: step.onboarding.accentColor
                Symbol { anchors.centerIn: parent; name: "mic.fill"; color: "white"; size: 24 }
            }
            Text {
                text: step.copy["perms.dialogTitle"]
                font.pixelSize: 14
                font.bold: true
                color: step.onboarding.textColor
            }
            Text {
                width: parent.width
                text: step.copy["perms.dialogBody"]
                font.pixelSize: 12
                wrapMode: Text.WordWrap
                color: step.onboarding.secondaryColor
            }
            Row {
                spacing: 10
                Repeater {
                    model: [step.copy["perms.dialogDeny"], step.copy["perms.dialogAllow"]]
                    Rectangle {
                        required property int index
                        required property string modelData
                        width: 118
                        height: 30
                        radius: 8
                        color: index === 1 ? step.onboarding.accentColor : "white"
                        Text {
                            anchors.centerIn: parent
                            text: modelData
                            font.pixelSize: 13
                            color: index === 1 ? "white" : step.onboarding.textColor
                        }
                    }
                }
            }
        }
    }
}
