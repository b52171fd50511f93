import QtQuick
import Murmo.Ui

// A ring filled to `fraction` (0 to 1) of its circle, starting at the top.
Canvas {
    id: ring

    property real fraction
    property color trackColor
    property color fillColor
    property real lineWidth: 8

    onFractionChanged: requestPaint()
    onPaint: {
        const ctx = getContext("2d")
        const r = Math.min(width, height) / 2 - lineWidth / 2
        ctx.reset()
        ctx.lineWidth = lineWidth
        ctx.lineCap = "round"
        ctx.strokeStyle = trackColor
        ctx.beginPath()
        ctx.arc(width / 2, height / 2, r, 0, 2 * Math.PI)
        ctx.stroke()
        if (fraction > 0) {
            ctx.strokeStyle = fillColor
            ctx.beginPath()
            ctx.arc(width / 2, height / 2, r, -Math.PI / 2, -Math.PI / 2 + 2 * Math.PI * fraction)
            ctx.stroke()
        }
    }
}
