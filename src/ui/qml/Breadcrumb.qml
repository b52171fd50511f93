import QtQuick
import Murmo.Ui

// The five sections of the flow: done ones marked, the current one highlighted.
Row {
    id: crumbs

    required property OnboardingView onboarding

    spacing: 10

    Repeater {
        model: crumbs.onboarding.sections

        Row {
            id: crumb
            required property int index
            required property string modelData
            readonly property bool current: index === crumbs.onboarding.section
            readonly property bool done: index < crumbs.onboarding.section

            spacing: 10

            Rectangle {
                width: label.implicitWidth + 24
                height: 28
                radius: 14
                color: crumb.current ? crumbs.onboarding.accentColor : "transparent"
                border.width: crumb.current ? 0 : 1
                border.color: crumbs.onboarding.lineColor

                Row {
                    anchors.centerIn: parent
                    spacing: 6

                    Symbol {
                        anchors.verticalCenter: parent.verticalCenter
                        visible: crumb.done
                        name: "checkmark"
                        color: crumbs.onboarding.doneColor
                        size: 11
                    }
                    Text {
                        id: label
                        text: crumb.modelData
                        font.pixelSize: 12
                        font.bold: true
                        font.letterSpacing: 0.8
                        color: crumb.current ? crumbs.onboarding.accentTextColor
                                             : crumb.done ? crumbs.onboarding.textColor
                                                          : crumbs.onboarding.secondaryColor
                    }
                }
            }
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                visible: crumb.index < crumbs.onboarding.sections.length - 1
                width: 28
                height: 1
                color: crumbs.onboarding.lineColor
            }
        }
    }
}
