import QtQuick

// A turning arc while the backend works.
Symbol {
    name: "spinner"
    size: 14

    RotationAnimator on rotation {
        from: 0
        to: 360
        duration: 700
        loops: Animation.Infinite
        running: visible
    }
}
