import QtQuick
import QtQuick.Controls
import Murmo.Ui

// An invitation for a friend: the address, Send, and one line on how it went.
Item {
    id: step

    required property OnboardingView onboarding
    readonly property InviteScreen invite: onboarding.invite
    readonly property var copy: onboarding.copy

    Column {
        anchors.verticalCenter: parent.verticalCenter
        width: 600
        spacing: 20

        Text {
            text: step.invite.heading
            font.pixelSize: 12
            font.bold: true
            font.letterSpacing: 1.2
            color: step.onboarding.accentColor
        }
        StepTitle {
            onboarding: step.onboarding
            title: step.invite.title
            subtitle: step.invite.line
        }
        Row {
            spacing: 12
            Rectangle {
                width: 400
                height: 50
                radius: 14
                color: step.onboarding.cardColor
                border.width: field.activeFocus ? 2 : 1
                border.color: field.activeFocus ? step.onboarding.accentColor : step.onboarding.lineColor
                Symbol {
                    id: envelope
                    anchors.left: parent.left
                    anchors.leftMargin: 16
                    anchors.verticalCenter: parent.verticalCenter
                    name: "envelope"
                    color: step.onboarding.secondaryColor
                    size: 16
                }
                TextField {
                    id: field
                    objectName: "inviteField"
                    anchors.left: envelope.right
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.leftMargin: 6
                    background: null
                    font.pixelSize: 16
                    placeholderText: step.invite.placeholder
                    text: step.invite.email
                    onTextEdited: step.invite.email = text
                    onAccepted: step.invite.send()
                    Component.onCompleted: forceActiveFocus()
                }
            }
            MouseArea {
                objectName: "sendButton"
                width: 108
                height: 50
                cursorShape: Qt.PointingHandCursor
                onClicked: step.invite.send()
                Rectangle {
                    anchors.fill: parent
                    radius: 14
                    color: step.onboarding.accentColor
                    opacity: step.invite.sendOpacity
                }
                Row {
                    anchors.centerIn: parent
                    spacing: 8
                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "paperplane.fill"
                        color: "white"
                        size: 15
                        opacity: step.invite.planeVisible ? 0 : 1
                    }
                    Text { text: step.invite.sendText; font.pixelSize: 16; font.bold: true; color: "white" }
                }
                Symbol {
                    visible: step.invite.planeVisible
                    name: "paperplane.fill"
                    color: step.onboarding.accentColor
                    size: 18
                    x: step.invite.planeLaunch ? 260 : 18
                    y: step.invite.planeLaunch ? -160 : 16
                    opacity: step.invite.planeLaunch ? 0 : 1
                    Behavior on x { NumberAnimation { duration: 750; easing.type: Easing.InQuad } }
                    Behavior on y { NumberAnimation { duration: 750; easing.type: Easing.InQuad } }
                    Behavior on opacity { NumberAnimation { duration: 750; easing.type: Easing.InQuad } }
                }
            }
        }
        Row {
            height: 20
            spacing: 6
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                visible: step.invite.messageSymbolVisible
                name: "checkmark.circle.fill"
                color: step.onboarding.doneColor
                size: 15
            }
            Text {
                objectName: "inviteMessage"
                text: step.invite.message
                font.pixelSize: 14
                color: step.invite.messageColor
            }
        }
    }

    Rectangle {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 320
        height: 200
        radius: 20
        rotation: 4
        gradient: Gradient {
            GradientStop { position: 0; color: step.onboarding.accentColor }
            GradientStop { position: 1; color: "#7b5cf0" }
        }
        Column {
            anchors.fill: parent
            anchors.margins: 24
            spacing: 8
            Text { text: step.copy["invite.gift"]; font.pixelSize: 12; font.bold: true; font.letterSpacing: 2; color: "#d8e4ff" }
            Text { text: step.copy["invite.brand"]; font.pixelSize: 34; font.bold: true; color: "white" }
            Text { text: step.copy["invite.tagline"]; font.pixelSize: 17; color: "white" }
            Text { text: step.copy["invite.pitch"]; font.pixelSize: 13; color: "#d8e4ff" }
        }
    }
}
