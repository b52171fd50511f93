#pragma once

#include "core/AppWindow.h"
#include "core/WindowLayout.h"

#include <memory>

class BackendClient;
class BottomDock;
class Clock;
class DictationController;
class HistoryList;
class HistoryStore;
class HomeDashboard;
class HomeTheme;
class LanguagePicker;
class NavRail;
class Preferences;
class QQuickWindow;
class QuickAppWindow;
class Scheduler;
class SettingsPanel;
class StatsEngine;
class StatsScreen;
class UserAccount;
class ViewHost;

// The main window: the navigation rail, the chosen section (home, history, insights, settings)
// and the dock. Made afresh each time the controller opens it; everything it shows comes from
// the controller, the history and the preferences.
class HomeWindow final : public AppWindow
{
    Q_OBJECT

public:
    struct Services
    {
        DictationController& controller;
        HistoryStore& history;
        BackendClient& backend;
        Preferences& preferences;
        StatsEngine& stats;
        const Clock& clock;
        Scheduler& scheduler;
        const UserAccount& account;
        ViewHost& views;
    };

    HomeWindow(const Services& services, const WindowLayout& layout, QObject* parent = nullptr);
    ~HomeWindow() override;

    void present() override;
    void close() override;

    QQuickWindow& window();
    NavRail& rail() { return *m_rail; }
    HomeDashboard& dashboard() { return *m_dashboard; }
    HistoryList& historyList() { return *m_history; }
    StatsScreen& statsScreen() { return *m_stats; }
    SettingsPanel& settings() { return *m_settings; }

private:
    std::unique_ptr<HomeTheme> m_theme;
    std::unique_ptr<NavRail> m_rail;
    std::unique_ptr<HomeDashboard> m_dashboard;
    std::unique_ptr<HistoryList> m_history;
    std::unique_ptr<StatsScreen> m_stats;
    std::unique_ptr<SettingsPanel> m_settings;
    std::unique_ptr<LanguagePicker> m_language;
    std::unique_ptr<BottomDock> m_dock;
    std::unique_ptr<QuickAppWindow> m_window;
};
