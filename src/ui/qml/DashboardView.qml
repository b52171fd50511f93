import QtQuick
import QtQuick.Layouts
import Murmo.Ui

// The home section: greeting and today's feed on the left, the running numbers on the right.
Item {
    id: home

    required property HomeTheme theme
    required property HomeDashboard dashboard

    RowLayout {
        anchors { fill: parent; margins: 28 }
        spacing: 20

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.alignment: Qt.AlignTop
            spacing: 20

            // The hero card.
            Rectangle {
                Layout.fillWidth: true
                implicitHeight: 150
                radius: home.theme.radius
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0; color: Qt.darker(home.theme.accentFill, 2.2) }
                    GradientStop { position: 1; color: home.theme.card }
                }
                border.color: home.theme.cardBorder

                Column {
                    anchors { left: parent.left; verticalCenter: parent.verticalCenter; leftMargin: 28 }
                    spacing: 10
                    Text {
                        objectName: "greeting"
                        text: home.dashboard.greeting
                        color: home.theme.text
                        font.pixelSize: home.theme.titleSize
                        font.weight: Font.Bold
                    }
                    Text {
                        text: home.dashboard.keyHint
                        color: home.theme.secondaryText
                        font.pixelSize: 14
                    }
                }
                BrandMark {
                    anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 36 }
                    heights: home.dashboard.brandBars
                    size: 64
                    color: home.theme.accent
                    opacity: 0.85
                }
            }

            Card {
                Layout.fillWidth: true
                Layout.fillHeight: true
                theme: home.theme

                Column {
                    width: parent.width
                    spacing: 14

                    Text {
                        text: home.dashboard.feedTitle
                        color: home.theme.faintText
                        font.pixelSize: home.theme.smallSize
                        font.weight: Font.Bold
                        font.letterSpacing: 1.2
                    }
                    Text {
                        visible: home.dashboard.feed.length === 0
                        text: home.dashboard.feedEmptyText
                        color: home.theme.secondaryText
                    }
                    Repeater {
                        model: home.dashboard.feed
                        Row {
                            required property var modelData
                            width: parent.width
                            spacing: 14
                            Rectangle {
                                width: 32
                                height: 32
                                radius: 9
                                color: home.theme.raised
                                Symbol {
                                    anchors.centerIn: parent
                                    name: modelData.symbol
                                    color: home.theme.accent
                                    size: 15
                                }
                            }
                            Column {
                                width: parent.width - 46
                                spacing: 3
                                Text {
                                    text: modelData.time
                                    color: home.theme.faintText
                                    font.pixelSize: home.theme.smallSize
                                }
                                Text {
                                    width: parent.width
                                    text: modelData.text
                                    color: home.theme.text
                                    elide: Text.ElideRight
                                    maximumLineCount: 2
                                    wrapMode: Text.Wrap
                                }
                            }
                        }
                    }
                }
            }
        }

        ColumnLayout {
            Layout.preferredWidth: 320
            Layout.fillWidth: false
            Layout.fillHeight: true
            Layout.alignment: Qt.AlignTop
            spacing: 14

            Repeater {
                model: [
                    { value: home.dashboard.wordsToday, label: home.dashboard.wordsTodayLabel },
                    { value: home.dashboard.avgWpm, label: home.dashboard.avgWpmLabel },
                    { value: home.dashboard.savedThisWeek, label: home.dashboard.savedThisWeekLabel }
                ]
                Card {
                    required property var modelData
                    Layout.fillWidth: true
                    theme: home.theme
                    padding: 16
                    Column {
                        spacing: 2
                        Text {
                            text: modelData.value
                            color: home.theme.text
                            font.pixelSize: 28
                            font.weight: Font.Bold
                        }
                        Text {
                            text: modelData.label
                            color: home.theme.secondaryText
                        }
                    }
                }
            }

            Card {
                Layout.fillWidth: true
                theme: home.theme
                Column {
                    width: parent.width
                    spacing: 10
                    CardHeader {
                        theme: home.theme
                        title: home.dashboard.profileTitle
                        symbol: home.dashboard.profileSymbol
                    }
                    Text {
                        width: parent.width
                        text: home.dashboard.profileText
                        color: home.theme.secondaryText
                        wrapMode: Text.Wrap
                    }
                    Row {
                        width: parent.width
                        spacing: 10
                        Rectangle {
                            width: parent.width - 50
                            height: 8
                            radius: 4
                            color: home.theme.track
                            anchors.verticalCenter: parent.verticalCenter
                            Rectangle {
                                width: parent.width * home.dashboard.profileProgress / 100
                                height: parent.height
                                radius: 4
                                color: home.theme.accent
                            }
                        }
                        Text {
                            text: home.dashboard.profileProgressText
                            color: home.theme.text
                            font.weight: Font.DemiBold
                        }
                    }
                    Text {
                        text: home.dashboard.unlockText
                        color: home.theme.faintText
                        font.pixelSize: home.theme.smallSize
                    }
                }
            }

            Card {
                Layout.fillWidth: true
                theme: home.theme
                Column {
                    width: parent.width
                    spacing: 6
                    Text {
                        text: home.dashboard.anotherAppTitle
                        color: home.theme.text
                        font.pixelSize: home.theme.headingSize
                        font.weight: Font.DemiBold
                    }
                    Text {
                        width: parent.width
                        text: home.dashboard.anotherAppText
                        color: home.theme.secondaryText
                        wrapMode: Text.Wrap
                    }
                }
            }

            Item { Layout.fillHeight: true }
        }
    }
}
