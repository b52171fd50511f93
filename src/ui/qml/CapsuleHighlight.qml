import QtQuick

// A one-point rim of light along the capsule's upper half, fading out towards its middle.
Canvas {
    id: highlight

    property color color

    onWidthChanged: requestPaint()
    onHeightChanged: requestPaint()
    onColorChanged: requestPaint()

    onPaint: {
        const ctx = getContext("2d");
        ctx.reset();
        const fade = ctx.createLinearGradient(0, 0, 0, height / 2);
        fade.addColorStop(0, highlight.color);
        fade.addColorStop(1, "transparent");
        ctx.strokeStyle = fade;
        ctx.lineWidth = 1;
        ctx.roundedRect(0.5, 0.5, width - 1, height - 1, (height - 1) / 2, (height - 1) / 2);
        ctx.stroke();
    }
}
