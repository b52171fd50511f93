import QtQuick
import QtQuick.Controls
import Murmo.Ui

// The dismiss button: an arc that drains over the countdown around the seconds left, then a
// cross.
Item {
    id: button

    required property NudgeModel nudge
    property real ring: 1

    width: 30
    height: 30

    NumberAnimation {
        id: drain
        target: button
        property: "ring"
        from: 1
        to: 0
        duration: button.nudge.countdownDuration
    }

    Connections {
        target: button.nudge
        function onShowingChanged() {
            if (button.nudge.showing)
                drain.restart();
            else
                drain.stop();
        }
    }

    Canvas {
        id: arcs
        anchors.centerIn: parent
        width: 26
        height: 26

        onPaint: {
            const ctx = getContext("2d");
            ctx.reset();
            ctx.lineWidth = 2;
            ctx.strokeStyle = button.nudge.trackColor;
            ctx.beginPath();
            ctx.arc(13, 13, 12, 0, 2 * Math.PI);
            ctx.stroke();
            // From the top, clockwise, as far as the countdown has left.
            ctx.strokeStyle = button.nudge.arcColor;
            ctx.beginPath();
            ctx.arc(13, 13, 12, -Math.PI / 2, -Math.PI / 2 + 2 * Math.PI * button.ring);
            ctx.stroke();
        }
    }
    onRingChanged: arcs.requestPaint()

    Text {
        anchors.centerIn: parent
        visible: button.nudge.secondsVisible
        text: button.nudge.secondsLeft
        color: button.nudge.secondsColor
        font.pixelSize: 11
        font.bold: true
    }

    Symbol {
        anchors.centerIn: parent
        visible: !button.nudge.secondsVisible
        name: "xmark"
        color: button.nudge.crossColor
        size: 14
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.nudge.dismiss()
    }

    ToolTip.visible: mouse.containsMouse
    ToolTip.text: button.nudge.dismissTip
}
