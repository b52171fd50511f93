#include "ui/HomeWindow.h"

#include "ui/BottomDock.h"
#include "ui/HistoryList.h"
#include "ui/HomeDashboard.h"
#include "ui/HomeTheme.h"
#include "ui/LanguagePicker.h"
#include "ui/NavRail.h"
#include "ui/QuickAppWindow.h"
#include "ui/SettingsPanel.h"
#include "ui/StatsScreen.h"
#include "ui/ViewHost.h"

#include <QCoreApplication>
#include <QQuickWindow>

using namespace Qt::StringLiterals;

HomeWindow::HomeWindow(const Services& s, const WindowLayout& layout, QObject* parent)
    : AppWindow(parent)
    , m_theme(std::make_unique<HomeTheme>())
    , m_rail(std::make_unique<NavRail>())
    , m_dashboard(
          std::make_unique<HomeDashboard>(s.controller, s.history, s.clock, s.scheduler, s.account))
    , m_history(std::make_unique<HistoryList>(s.history))
    , m_stats(std::make_unique<StatsScreen>(s.history, s.stats, s.backend, s.clock))
    , m_settings(std::make_unique<SettingsPanel>(s.controller, s.preferences))
    , m_language(std::make_unique<LanguagePicker>(s.preferences))
    , m_dock(std::make_unique<BottomDock>(s.controller))
{
    auto window = s.views.createWindow(u"HomeWindow"_s,
                                       {{u"theme"_s, QVariant::fromValue(m_theme.get())},
                                        {u"rail"_s, QVariant::fromValue(m_rail.get())},
                                        {u"dashboard"_s, QVariant::fromValue(m_dashboard.get())},
                                        {u"historyList"_s, QVariant::fromValue(m_history.get())},
                                        {u"stats"_s, QVariant::fromValue(m_stats.get())},
                                        {u"settings"_s, QVariant::fromValue(m_settings.get())},
                                        {u"language"_s, QVariant::fromValue(m_language.get())},
                                        {u"dock"_s, QVariant::fromValue(m_dock.get())}});
    window->setTitle(layout.title);
    window->resize(layout.content);
    window->setMinimumSize(layout.minimum.isEmpty() ? layout.content : layout.minimum);
    if (!layout.resizable)
        window->setMaximumSize(layout.content);
    m_window = std::make_unique<QuickAppWindow>(std::move(window));

    connect(m_window.get(), &AppWindow::closing, this, &AppWindow::closing);
    connect(m_rail.get(), &NavRail::currentChanged, this,
            [this] { m_stats->setShown(m_rail->current() == NavSection::stats); });
    connect(m_settings.get(), &SettingsPanel::quitRequested, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
}

HomeWindow::~HomeWindow() = default;

QQuickWindow& HomeWindow::window()
{
    return m_window->window();
}

void HomeWindow::present()
{
    m_window->present();
}

void HomeWindow::close()
{
    m_window->close();
}
