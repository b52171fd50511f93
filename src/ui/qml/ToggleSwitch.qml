import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// An on/off switch in the window's colours.
Switch {
    id: toggle

    required property HomeTheme theme

    indicator: Rectangle {
        implicitWidth: 44
        implicitHeight: 24
        x: toggle.leftPadding
        y: (toggle.height - height) / 2
        radius: 12
        color: toggle.checked ? toggle.theme.accentFill : toggle.theme.track
        Behavior on color { ColorAnimation { duration: 120 } }

        Rectangle {
            x: toggle.checked ? parent.width - width - 3 : 3
            y: 3
            width: 18
            height: 18
            radius: 9
            color: "white"
            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
        }
    }
}
