import QtQuick
import QtQuick.Controls.Basic
import Murmo.Ui

// The main window; its size, title and limits come from the program.
ApplicationWindow {
    id: window

    required property HomeTheme theme
    required property NavRail rail
    required property HomeDashboard dashboard
    required property HistoryList historyList
    required property StatsScreen stats
    required property SettingsPanel settings
    required property LanguagePicker language
    required property BottomDock dock

    color: theme.background
    palette.window: theme.background
    palette.base: theme.card
    palette.alternateBase: theme.raised
    palette.button: theme.raised
    palette.buttonText: theme.text
    palette.text: theme.text
    palette.windowText: theme.text
    palette.highlight: theme.accentFill
    palette.highlightedText: theme.text
    palette.light: theme.raised
    palette.mid: theme.cardBorder
    palette.dark: theme.track
    font.pixelSize: theme.bodySize

    HomeView {
        anchors.fill: parent
        theme: window.theme
        rail: window.rail
        dashboard: window.dashboard
        historyList: window.historyList
        stats: window.stats
        settings: window.settings
        language: window.language
        dock: window.dock
    }
}
