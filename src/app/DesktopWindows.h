#pragma once

#include "core/WindowFactory.h"
#include "ui/PillPanel.h"

#include <functional>

class BackendClient;
class DictationController;
class HistoryStore;
class OnboardingScene;
class Preferences;
class StatsEngine;
class UserAccount;

// The application's windows on the desktop: the status pill, the main window and the onboarding.
// The controller needs this factory and the factory needs the controller: hand it over with
// setController() before the controller's setUp().
class DesktopWindows final : public WindowFactory
{
public:
    // What the main window shows besides the controller's own state.
    struct HomeSources
    {
        HistoryStore& history;
        BackendClient& backend;
        StatsEngine& stats;
        const UserAccount& account;
    };

    // `level` reads the microphone's current level for the pill.
    DesktopWindows(const PillPanel::Services& services, const HomeSources& home,
                   Preferences& preferences, std::function<qreal()> level);

    void setController(DictationController& controller) { m_controller = &controller; }
    void setOnboarding(OnboardingScene& onboarding) { m_onboarding = &onboarding; }

    std::unique_ptr<StatusPill> createPill() override;
    std::unique_ptr<AppWindow> createHomeWindow(const WindowLayout& layout) override;
    std::unique_ptr<AppWindow> createOnboardingWindow(const WindowLayout& layout) override;

private:
    PillPanel::Services m_services;
    HomeSources m_home;
    Preferences& m_preferences;
    std::function<qreal()> m_level;
    DictationController* m_controller = nullptr;
    OnboardingScene* m_onboarding = nullptr;
};
