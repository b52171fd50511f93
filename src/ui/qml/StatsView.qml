import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Murmo.Ui

// The statistics screen: the period picker, then the progress of a first computation, the empty
// state or the cards.
Item {
    id: screen

    required property HomeTheme theme
    required property StatsScreen stats

    // Drives the figures' entrance after each computation, from 0 to 1.
    property real reveal: 1

    NumberAnimation {
        id: revealAnimation
        target: screen
        property: "reveal"
        from: 0
        to: 1
        duration: screen.stats.revealDuration
        easing.type: Easing.OutCubic
    }
    Connections {
        target: screen.stats
        function onStatsChanged() { revealAnimation.restart() }
    }

    Column {
        id: header
        x: 28
        y: 28
        spacing: 4
        Text {
            text: screen.stats.title
            color: screen.theme.text
            font.pixelSize: screen.theme.titleSize
            font.weight: Font.Bold
        }
        Text {
            text: screen.stats.subtitle
            color: screen.theme.secondaryText
            font.pixelSize: 14
        }
    }

    // The period picker, with a marker that slides to the chosen segment.
    Rectangle {
        id: picker
        objectName: "periodPicker"
        anchors { right: parent.right; rightMargin: 28; verticalCenter: header.verticalCenter }
        width: 4 * 78 + 8
        height: 36
        radius: 18
        color: screen.theme.raised

        Rectangle {
            x: 4 + screen.stats.periodIndex * 78
            y: 4
            width: 78
            height: 28
            radius: 14
            color: screen.theme.accentFill
            Behavior on x { NumberAnimation { duration: 220; easing.type: Easing.OutCubic } }
        }
        Row {
            x: 4
            y: 4
            Repeater {
                model: screen.stats.periodLabels
                Item {
                    required property string modelData
                    required property int index
                    objectName: "period-" + modelData
                    width: 78
                    height: 28
                    Text {
                        anchors.centerIn: parent
                        text: parent.modelData
                        color: screen.theme.text
                        font.weight: Font.DemiBold
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: screen.stats.periodIndex = parent.index
                    }
                }
            }
        }
    }

    Column {
        objectName: "statsLoading"
        anchors.centerIn: parent
        visible: screen.stats.loadingVisible
        spacing: 12
        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            running: parent.visible
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: screen.stats.loadingTitle
            color: screen.theme.text
            font.pixelSize: 15
        }
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 260
            height: 6
            radius: 3
            visible: screen.stats.loadingFraction >= 0
            color: screen.theme.track
            Rectangle {
                width: parent.width * screen.stats.loadingFraction
                height: parent.height
                radius: 3
                color: screen.theme.accent
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: screen.stats.loadingDetail
            color: screen.theme.secondaryText
        }
    }

    Column {
        objectName: "statsEmpty"
        anchors.centerIn: parent
        visible: screen.stats.emptyVisible
        spacing: 10
        Symbol {
            anchors.horizontalCenter: parent.horizontalCenter
            name: screen.stats.emptySymbol
            color: screen.theme.faintText
            size: 40
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: screen.stats.emptyTitle
            color: screen.theme.text
            font.pixelSize: 18
            font.weight: Font.DemiBold
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: screen.stats.emptyText
            color: screen.theme.secondaryText
        }
    }

    ScrollView {
        id: scroller
        objectName: "statsCards"
        anchors { left: parent.left; right: parent.right; top: header.bottom; bottom: parent.bottom; topMargin: 20 }
        visible: screen.stats.cardsVisible
        contentWidth: availableWidth
        clip: true

        ColumnLayout {
            x: 28
            width: scroller.availableWidth - 56
            spacing: 16

            // Words.
            Card {
                Layout.fillWidth: true
                theme: screen.theme
                Column {
                    width: parent.width
                    spacing: 8
                    Text {
                        text: screen.stats.wordsCaption
                        color: screen.theme.faintText
                        font.pixelSize: screen.theme.smallSize
                        font.weight: Font.Bold
                        font.letterSpacing: 1.2
                    }
                    Row {
                        spacing: 14
                        Text {
                            objectName: "wordsValue"
                            text: screen.stats.grouped(Math.round(screen.stats.words * screen.reveal))
                            color: screen.theme.text
                            font.pixelSize: screen.theme.figureSize
                            font.weight: Font.Bold
                        }
                        ChangeBadge {
                            anchors.verticalCenter: parent.verticalCenter
                            visible: screen.stats.wordsBadgeVisible
                            theme: screen.theme
                            symbol: screen.stats.wordsBadgeSymbol
                            text: screen.stats.wordsBadgeText
                            good: screen.stats.wordsBadgeGood
                        }
                    }
                    Text {
                        visible: text.length > 0
                        text: screen.stats.wordsComparison
                        color: screen.theme.secondaryText
                    }
                }
            }

            // The four key figures.
            RowLayout {
                Layout.fillWidth: true
                spacing: 16
                Repeater {
                    model: screen.stats.keyFigures
                    Card {
                        required property var modelData
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        theme: screen.theme
                        padding: 16
                        Column {
                            spacing: 6
                            Symbol {
                                name: modelData.symbol
                                color: screen.theme.accent
                                size: 16
                            }
                            Text {
                                text: modelData.value
                                color: screen.theme.text
                                font.pixelSize: 24
                                font.weight: Font.Bold
                            }
                            Text {
                                text: modelData.title
                                color: screen.theme.secondaryText
                            }
                        }
                    }
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 16

                // Vocabulary.
                Card {
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.fillHeight: true
                    theme: screen.theme
                    Column {
                        width: parent.width
                        spacing: 12
                        CardHeader { theme: screen.theme; title: screen.stats.vocabTitle; symbol: screen.stats.vocabSymbol }
                        Row {
                            spacing: 16
                            Item {
                                width: 92
                                height: 92
                                ScoreRing {
                                    anchors.fill: parent
                                    fraction: screen.stats.vocabScore / 100 * screen.reveal
                                    trackColor: screen.theme.track
                                    fillColor: screen.theme.accent
                                }
                                Column {
                                    anchors.centerIn: parent
                                    Text {
                                        anchors.horizontalCenter: parent.horizontalCenter
                                        text: screen.stats.vocabScoreText
                                        color: screen.theme.text
                                        font.pixelSize: 24
                                        font.weight: Font.Bold
                                    }
                                    Text {
                                        anchors.horizontalCenter: parent.horizontalCenter
                                        text: screen.stats.vocabScale
                                        color: screen.theme.faintText
                                        font.pixelSize: screen.theme.smallSize
                                    }
                                }
                            }
                            Column {
                                anchors.verticalCenter: parent.verticalCenter
                                spacing: 6
                                Text {
                                    text: screen.stats.uniqueWordsLine
                                    color: screen.theme.text
                                }
                                Text {
                                    visible: text.length > 0
                                    text: screen.stats.vocabDelta
                                    color: screen.theme.accent
                                }
                            }
                        }
                        Chips {
                            width: parent.width
                            theme: screen.theme
                            items: screen.stats.topWords
                        }
                    }
                }

                // When you speak.
                Card {
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.fillHeight: true
                    theme: screen.theme
                    Column {
                        width: parent.width
                        spacing: 10
                        CardHeader { theme: screen.theme; title: screen.stats.hoursTitle; symbol: screen.stats.hoursSymbol }
                        Row {
                            id: bars
                            width: parent.width
                            height: 96
                            spacing: 3
                            Repeater {
                                model: screen.stats.hourBars
                                Item {
                                    required property real modelData
                                    width: (bars.width - 23 * bars.spacing) / 24
                                    height: bars.height
                                    Rectangle {
                                        anchors.bottom: parent.bottom
                                        width: parent.width
                                        height: Math.max(3, parent.height * parent.modelData * screen.reveal)
                                        radius: 2
                                        color: parent.modelData > 0 ? screen.theme.accent : screen.theme.track
                                    }
                                }
                            }
                        }
                        Item {
                            width: parent.width
                            height: axisStart.height
                            Text {
                                id: axisStart
                                text: screen.stats.hoursAxisStart
                                color: screen.theme.faintText
                                font.pixelSize: screen.theme.smallSize
                            }
                            Text {
                                anchors.right: parent.right
                                text: screen.stats.hoursAxisEnd
                                color: screen.theme.faintText
                                font.pixelSize: screen.theme.smallSize
                            }
                        }
                        Text {
                            visible: text.length > 0
                            text: screen.stats.peakText
                            color: screen.theme.text
                        }
                    }
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 16

                // Clarity.
                Card {
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.fillHeight: true
                    theme: screen.theme
                    Column {
                        width: parent.width
                        spacing: 10
                        CardHeader { theme: screen.theme; title: screen.stats.clarityTitle; symbol: screen.stats.claritySymbol }
                        Text {
                            visible: screen.stats.crystalClear
                            width: parent.width
                            text: screen.stats.crystalClearText
                            color: screen.theme.good
                            wrapMode: Text.Wrap
                        }
                        Row {
                            visible: !screen.stats.crystalClear
                            spacing: 10
                            Text {
                                text: screen.stats.fillerRate
                                color: screen.theme.text
                                font.pixelSize: 30
                                font.weight: Font.Bold
                            }
                            Text {
                                anchors.baseline: parent.children[0].baseline
                                text: screen.stats.fillerRateCaption
                                color: screen.theme.secondaryText
                            }
                            ChangeBadge {
                                anchors.verticalCenter: parent.verticalCenter
                                visible: screen.stats.fillerBadgeVisible
                                theme: screen.theme
                                symbol: screen.stats.fillerBadgeSymbol
                                text: screen.stats.fillerBadgeText
                                good: screen.stats.fillerBadgeGood
                            }
                        }
                        Repeater {
                            model: screen.stats.crystalClear ? [] : screen.stats.topFillers
                            Item {
                                required property var modelData
                                width: parent.width
                                height: 22
                                Text {
                                    text: modelData.word
                                    color: screen.theme.text
                                }
                                Text {
                                    anchors.right: parent.right
                                    text: modelData.count
                                    color: screen.theme.secondaryText
                                }
                            }
                        }
                    }
                }

                // Phone against this computer.
                Card {
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.fillHeight: true
                    theme: screen.theme
                    Column {
                        width: parent.width
                        spacing: 12
                        CardHeader { theme: screen.theme; title: screen.stats.devicesTitle; symbol: screen.stats.devicesSymbol }
                        Repeater {
                            model: [
                                { label: screen.stats.phoneLabel, words: screen.stats.phoneWords, share: screen.stats.phoneShare },
                                { label: screen.stats.computerLabel, words: screen.stats.computerWords, share: screen.stats.computerShare }
                            ]
                            Column {
                                required property var modelData
                                width: parent.width
                                spacing: 5
                                Item {
                                    width: parent.width
                                    height: 18
                                    Text { text: modelData.label; color: screen.theme.text }
                                    Text { anchors.right: parent.right; text: modelData.words; color: screen.theme.secondaryText }
                                }
                                Rectangle {
                                    width: parent.width
                                    height: 6
                                    radius: 3
                                    color: screen.theme.track
                                    Rectangle {
                                        width: parent.width * modelData.share * screen.reveal
                                        height: parent.height
                                        radius: 3
                                        color: screen.theme.accent
                                    }
                                }
                            }
                        }
                    }
                }
            }

            // The AI speech coach.
            Card {
                Layout.fillWidth: true
                theme: screen.theme
                Column {
                    width: parent.width
                    spacing: 12
                    Item {
                        width: parent.width
                        height: refreshInsights.height
                        CardHeader {
                            anchors.verticalCenter: parent.verticalCenter
                            theme: screen.theme; title: screen.stats.coachTitle; symbol: screen.stats.coachSymbol
                        }
                        SmallButton {
                            id: refreshInsights
                            anchors.right: parent.right
                            visible: screen.stats.insightsVisible
                            theme: screen.theme
                            symbol: screen.stats.refreshSymbol
                            text: screen.stats.refreshText
                            onClicked: screen.stats.requestInsights()
                        }
                    }
                    Text {
                        width: parent.width
                        text: screen.stats.coachText
                        color: screen.theme.secondaryText
                        wrapMode: Text.Wrap
                    }
                    ActionButton {
                        objectName: "insightsButton"
                        visible: screen.stats.insightsButtonVisible
                        theme: screen.theme
                        symbol: screen.stats.coachSymbol
                        text: screen.stats.insightsButtonText
                        busy: screen.stats.loadingInsights
                        onClicked: screen.stats.requestInsights()
                    }
                    Text {
                        objectName: "insightsError"
                        visible: text.length > 0
                        width: parent.width
                        text: screen.stats.insightsError
                        color: screen.theme.error
                        wrapMode: Text.Wrap
                    }
                    Column {
                        visible: screen.stats.insightsVisible
                        width: parent.width
                        spacing: 10
                        Text {
                            width: parent.width
                            text: screen.stats.insightsSummary
                            color: screen.theme.text
                            wrapMode: Text.Wrap
                        }
                        Repeater {
                            model: screen.stats.strengths
                            Row {
                                required property string modelData
                                width: parent.width
                                spacing: 8
                                Symbol { name: screen.stats.strengthSymbol; color: screen.theme.good; size: 14 }
                                Text { width: parent.width - 22; text: modelData; color: screen.theme.text; wrapMode: Text.Wrap }
                            }
                        }
                        Repeater {
                            model: screen.stats.suggestions
                            Row {
                                required property var modelData
                                width: parent.width
                                spacing: 8
                                Symbol { name: screen.stats.suggestionSymbol; color: screen.theme.bad; size: 14 }
                                Column {
                                    width: parent.width - 22
                                    Text { width: parent.width; text: modelData.title; color: screen.theme.text; font.weight: Font.DemiBold; wrapMode: Text.Wrap }
                                    Text { width: parent.width; text: modelData.detail; color: screen.theme.secondaryText; wrapMode: Text.Wrap }
                                }
                            }
                        }
                        Repeater {
                            model: screen.stats.resources
                            Column {
                                required property var modelData
                                width: parent.width
                                leftPadding: 22
                                Text { width: parent.width - 22; text: modelData.title; color: screen.theme.accent; wrapMode: Text.Wrap }
                                Text { width: parent.width - 22; text: modelData.detail; color: screen.theme.secondaryText; wrapMode: Text.Wrap }
                            }
                        }
                    }
                }
            }

            // The recap.
            Card {
                Layout.fillWidth: true
                Layout.bottomMargin: 28
                theme: screen.theme
                Column {
                    width: parent.width
                    spacing: 12
                    Item {
                        width: parent.width
                        height: rewrite.height
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: screen.stats.recapTitle
                            color: screen.theme.text
                            font.pixelSize: screen.theme.headingSize
                            font.weight: Font.DemiBold
                        }
                        SmallButton {
                            id: rewrite
                            anchors.right: parent.right
                            visible: screen.stats.recapWritten
                            theme: screen.theme
                            symbol: screen.stats.refreshSymbol
                            text: screen.stats.rewriteText
                            onClicked: screen.stats.requestRecap()
                        }
                    }
                    Text {
                        objectName: "recapText"
                        width: parent.width
                        text: screen.stats.recapBody
                        color: screen.stats.recapWritten ? screen.theme.text : screen.theme.secondaryText
                        wrapMode: Text.Wrap
                    }
                    ActionButton {
                        objectName: "recapButton"
                        visible: screen.stats.recapButtonVisible
                        theme: screen.theme
                        symbol: screen.stats.recapSymbol
                        text: screen.stats.recapButtonText
                        busy: screen.stats.loadingRecap
                        onClicked: screen.stats.requestRecap()
                    }
                }
            }
        }
    }
}
