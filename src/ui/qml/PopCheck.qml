import QtQuick

// A check mark that pops in: a quick overshoot, then it settles.
Symbol {
    name: "checkmark.circle.fill"
    size: 14
    scale: 0.5

    SequentialAnimation on scale {
        NumberAnimation { to: 1.12; duration: 180; easing.type: Easing.OutQuad }
        NumberAnimation { to: 1.0; duration: 120; easing.type: Easing.OutQuad }
    }
}
