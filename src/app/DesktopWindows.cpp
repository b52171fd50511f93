#include "app/DesktopWindows.h"

#include "core/DictationController.h"
#include "preferences/Preferences.h"
#include "ui/HomeWindow.h"
#include "ui/PlaceholderWindowModel.h"
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
    // Until onboarding's screens exist, this window is where a new user finishes setting up.
    WindowLayout titled = layout;
    titled.title = u"Welcome to Murmo"_s;
    return createPlaceholder(
        titled, u"A few questions, the permissions and your first dictation will be here."_s,
        u"Start dictating"_s, [this] { finishOnboarding(); });
}

std::unique_ptr<AppWindow> DesktopWindows::createPlaceholder(WindowLayout layout,
                                                             const QString& message,
                                                             const QString& actionText,
                                                             std::function<void()> action)
{
    auto model =
        std::make_unique<PlaceholderWindowModel>(layout, message, actionText, std::move(action));
    auto window = m_services.views.createWindow(
        u"PlaceholderWindow"_s, {{u"placeholder"_s, QVariant::fromValue(model.get())}});
    return std::make_unique<QuickAppWindow>(std::move(window), std::move(model));
}

void DesktopWindows::finishOnboarding()
{
    m_preferences.setOnboarded(true);
    m_controller->finishOnboarding();
}
