import QtQuick
import Murmo.Ui

// The capsule at the bottom of the panel: shadow, fill, rims and what the phase shows.
Item {
    id: view

    required property PillModel pill

    Item {
        id: capsule

        width: view.pill.capsuleWidth
        height: view.pill.capsuleHeight
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: view.pill.capsuleBottomMargin

        Behavior on width {
            NumberAnimation {
                duration: view.pill.transitionDuration
                easing: view.pill.transitionEasing
            }
        }

        CapsuleShadow {
            anchors.fill: parent
            strength: view.pill.shadowOpacity
            radius: view.pill.shadowRadius
            offset: view.pill.shadowOffset
        }

        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: view.pill.fillColor

            Behavior on color {
                ColorAnimation {
                    duration: view.pill.transitionDuration
                    easing: view.pill.transitionEasing
                }
            }
        }

        Rectangle {
            anchors.fill: parent
            radius: height / 2
            visible: view.pill.waveVisible
            gradient: Gradient {
                GradientStop { position: 0; color: view.pill.waveTopColor }
                GradientStop { position: 1; color: view.pill.waveBottomColor }
            }
        }

        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: "transparent"
            border.width: 1
            border.color: view.pill.borderColor
        }

        CapsuleHighlight {
            anchors.fill: parent
            color: view.pill.highlightColor
        }

        Rectangle {
            anchors.fill: parent
            anchors.margins: -1.5
            radius: height / 2
            color: "transparent"
            border.width: 3
            border.color: view.pill.glowColor
        }

        Binding {
            target: view.pill
            property: "contentWidth"
            // A Loader keeps its last implicit width when unloaded; measure the loaded item.
            value: Math.max(...[restingBarsContent, keyHintContent, waveContent, spinnerContent,
                                checkContent, noticeContent].map(l => l.item ? l.item.implicitWidth : 0))
        }

        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onContainsMouseChanged: view.pill.hovering = containsMouse
            onClicked: mouse => mouse.button === Qt.RightButton ? view.pill.openMenu()
                                                                : view.pill.click()
        }

        Loader {
            id: restingBarsContent
            anchors.centerIn: parent
            active: view.pill.restingBarsVisible
            sourceComponent: RestingBars { pill: view.pill }
        }

        Loader {
            id: keyHintContent
            anchors.centerIn: parent
            active: view.pill.keyHintVisible
            sourceComponent: Row {
                spacing: 6

                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "mic.fill"
                    color: view.pill.micColor
                    size: 12
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: view.pill.keyHint
                    color: view.pill.labelColor
                    font.pixelSize: 12
                    font.weight: Font.Medium
                }
            }
        }

        Loader {
            id: waveContent
            anchors.centerIn: parent
            active: view.pill.waveVisible
            sourceComponent: ListeningWave { pill: view.pill }
        }

        Loader {
            id: spinnerContent
            anchors.centerIn: parent
            active: view.pill.spinnerVisible
            sourceComponent: Row {
                spacing: 9

                Spinner {
                    anchors.verticalCenter: parent.verticalCenter
                    color: view.pill.spinnerColor
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: view.pill.cleaningUpText
                    color: view.pill.labelColor
                    font.pixelSize: 12
                    font.weight: Font.Medium
                }
                CancelButton {
                    anchors.verticalCenter: parent.verticalCenter
                    pill: view.pill
                }
            }
        }

        Loader {
            id: checkContent
            anchors.centerIn: parent
            active: view.pill.checkVisible
            sourceComponent: Row {
                spacing: 7

                PopCheck {
                    anchors.verticalCenter: parent.verticalCenter
                    color: view.pill.checkColor
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: view.pill.insertedText
                    color: view.pill.doneLabelColor
                    font.pixelSize: 12
                    font.weight: Font.DemiBold
                }
            }
        }

        Loader {
            id: noticeContent
            anchors.centerIn: parent
            active: view.pill.noticeVisible
            sourceComponent: Row {
                spacing: 7
                leftPadding: 4
                rightPadding: 4

                Symbol {
                    id: noticeSymbol
                    anchors.verticalCenter: parent.verticalCenter
                    name: "exclamationmark.circle.fill"
                    color: view.pill.noticeSymbolColor
                    size: 13
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    // Notices too long for the widest capsule end in an ellipsis.
                    width: Math.min(implicitWidth, view.pill.maximumContentWidth - noticeSymbol.width
                                    - parent.spacing - parent.leftPadding - parent.rightPadding)
                    text: view.pill.noticeText
                    elide: Text.ElideRight
                    color: view.pill.noticeLabelColor
                    font.pixelSize: 12
                    font.weight: Font.Medium
                }
            }
        }
    }
}
