import QtQuick
import Murmo.Ui

// Eight bars that follow the microphone level while recording.
Row {
    id: wave

    required property PillModel pill

    spacing: 3

    Repeater {
        model: wave.pill.waveBars.length

        Rectangle {
            required property int index

            anchors.verticalCenter: parent.verticalCenter
            width: 3
            height: wave.pill.waveBars[index]
            radius: width / 2
            color: wave.pill.waveBarColors[index]

            Behavior on height {
                NumberAnimation { duration: wave.pill.waveStepDuration }
            }
        }
    }
}
