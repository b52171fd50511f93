#include "app/DesktopWindows.h"

#include "app/OnboardingScene.h"

#include "core/DictationController.h"
#include "preferences/Preferences.h"
#include "ui/HomeWindow.h"
#include "ui/QuickAppWindow.h"
#include "ui/ViewHost.h"

#include <QQuickWindow>

using namespace Qt::StringLiterals;

DesktopWindows::DesktopWindows(const PillPanel::Services& services, const HomeSources& home,
                               Preferences& preferences, std::function<qreal()> level)
    : m_services(services)
    , m_home(home)
    , m_preferences(preferences)
    , m_level(std::move(level))
{}

std::unique_ptr<StatusPill> DesktopWindows::createPill()
{
    return std::make_unique<PillPanel>(*m_controller, m_level, m_services);
}

std::unique_ptr<AppWindow> DesktopWindows::createHomeWindow(const WindowLayout& layout)
{
    return std::make_unique<HomeWindow>(
        HomeWindow::Services{*m_controller, m_home.history, m_home.backend, m_preferences,
                             m_home.stats, m_services.clock, m_services.scheduler, m_home.account,
                             m_services.views},
        layout);
}

std::unique_ptr<AppWindow> DesktopWindows::createOnboardingWindow(const WindowLayout& layout)
{
    return m_onboarding->createWindow(*m_controller, layout);
}
