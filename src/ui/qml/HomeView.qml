import QtQuick
import QtQuick.Layouts
import Murmo.Ui

// The rail on the left; the chosen section above the dock on the right.
Item {
    id: view

    required property HomeTheme theme
    required property NavRail rail
    required property HomeDashboard dashboard
    required property HistoryList historyList
    required property StatsScreen stats
    required property SettingsPanel settings
    required property LanguagePicker language
    required property BottomDock dock

    NavRailView {
        id: railView
        anchors { left: parent.left; top: parent.top; bottom: parent.bottom }
        width: 208
        theme: view.theme
        rail: view.rail
        brandBars: view.dashboard.brandBars
    }

    StackLayout {
        id: mainColumn
        objectName: "mainColumn"
        anchors { left: railView.right; right: parent.right; top: parent.top; bottom: dockView.top }
        currentIndex: view.rail.currentIndex

        DashboardView { theme: view.theme; dashboard: view.dashboard }
        HistoryListView { theme: view.theme; list: view.historyList }
        StatsView { theme: view.theme; stats: view.stats }
        SettingsView { theme: view.theme; settings: view.settings; language: view.language }
    }

    BottomDockView {
        id: dockView
        anchors { left: railView.right; right: parent.right; bottom: parent.bottom }
        height: 68
        theme: view.theme
        dock: view.dock
        language: view.language
    }
}
