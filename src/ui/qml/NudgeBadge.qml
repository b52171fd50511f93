import QtQuick
import Murmo.Ui

// The blue microphone badge with its pulsing halo.
Item {
    id: badge

    required property NudgeModel nudge

    width: 40
    height: 40

    // A ring that grows and fades behind the badge, over and over.
    Rectangle {
        id: halo
        anchors.fill: parent
        radius: width / 2
        color: "transparent"
        border.width: 2
        border.color: badge.nudge.haloColor

        ParallelAnimation {
            running: true
            loops: Animation.Infinite

            NumberAnimation {
                target: halo
                property: "scale"
                from: 1
                to: 1.7
                duration: badge.nudge.pulseDuration
                easing: badge.nudge.easeOut
            }
            NumberAnimation {
                target: halo
                property: "opacity"
                from: 0.6
                to: 0
                duration: badge.nudge.pulseDuration
                easing: badge.nudge.easeOut
            }
        }
    }

    Canvas {
        anchors.fill: parent

        onPaint: {
            const ctx = getContext("2d");
            ctx.reset();
            // Lit from the upper left.
            const light = ctx.createRadialGradient(width * 0.34, height * 0.3, 2,
                                                   width * 0.34, height * 0.3, 22);
            light.addColorStop(0, badge.nudge.badgeInnerColor);
            light.addColorStop(1, badge.nudge.badgeOuterColor);
            ctx.fillStyle = light;
            ctx.beginPath();
            ctx.arc(width / 2, height / 2, width / 2, 0, 2 * Math.PI);
            ctx.fill();
        }
    }

    Symbol {
        anchors.centerIn: parent
        name: "mic.fill"
        color: badge.nudge.micColor
        size: 18
    }
}
