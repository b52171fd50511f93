import QtQuick
import Murmo.Ui

// The card: microphone badge, the suggestion, the key to hold and the countdown, in one row.
Item {
    id: view

    required property NudgeModel nudge

    implicitWidth: content.implicitWidth + 32
    implicitHeight: content.implicitHeight + 26
    opacity: nudge.showing ? 1 : 0
    transform: Translate {
        y: view.nudge.showing ? 0 : view.nudge.slideDistance

        Behavior on y {
            NumberAnimation {
                duration: view.nudge.fadeDuration
                easing: view.nudge.easeOut
            }
        }
    }

    Behavior on opacity {
        NumberAnimation {
            duration: view.nudge.fadeDuration
            easing: view.nudge.easeOut
        }
    }

    CapsuleShadow {
        anchors.fill: parent
        cornerRadius: background.radius
        strength: view.nudge.shadowOpacity
        radius: view.nudge.shadowRadius
        offset: view.nudge.shadowOffset
    }

    Rectangle {
        id: background
        anchors.fill: parent
        radius: 18
        border.width: 1
        border.color: view.nudge.cardBorderColor
        gradient: Gradient {
            GradientStop { position: 0; color: view.nudge.cardTopColor }
            GradientStop { position: 1; color: view.nudge.cardBottomColor }
        }
    }

    Row {
        id: content
        anchors.centerIn: parent
        spacing: 15

        NudgeBadge {
            anchors.verticalCenter: parent.verticalCenter
            nudge: view.nudge
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: 3

            Text {
                text: view.nudge.headlineText
                textFormat: Text.StyledText
                color: view.nudge.headlineColor
                font.pixelSize: 14
                font.bold: true
            }
            Text {
                text: view.nudge.sublineText
                color: view.nudge.sublineColor
                font.pixelSize: 12
            }
        }

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: keyLabel.implicitWidth + 24
            height: 36
            radius: 11
            color: view.nudge.keyCapFillColor
            border.width: 1
            border.color: view.nudge.keyCapBorderColor

            Text {
                id: keyLabel
                anchors.centerIn: parent
                text: view.nudge.keyLabel
                color: view.nudge.keyCapTextColor
                font.pixelSize: 13
                font.bold: true
            }
        }

        NudgeCountdown {
            anchors.verticalCenter: parent.verticalCenter
            nudge: view.nudge
        }
    }
}
