import QtQuick

// A turning arc while the backend works.
Symbol {
    name: "progress.arc"
    size: 14

    RotationAnimator on rotation {
        from: 0
        to: 360
        duration: 700
        loops: Animation.Infinite
        running: visible
    }
}
