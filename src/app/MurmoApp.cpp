#include "app/MurmoApp.h"

#include "app/Installation.h"
#include "files/PrivateTemporaryDirectory.h"
#include "platform/linux/SwrAudioConverter.h"
#include "platform/linux/WebDavCollection.h"

#include <QApplication>
#include <QDBusConnection>
#include <QNetworkReply>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The cloud folder the user configured; none without one (or with one refused, which is said
// once on the terminal: there is no other place to say it).
std::optional<WebDavCollection> cloudFolder()
{
    auto folder = WebDavCollection::configured();
    if (auto* collection = std::get_if<WebDavCollection>(&folder))
        return *collection;
    if (!qEnvironmentVariableIsEmpty("MURMO_CLOUD_URL"))
        std::fprintf(stderr, "murmo: %s\n", qPrintable(std::get<QString>(folder)));
    return std::nullopt;
}

std::optional<QString> optionalText(const QString& text)
{
    return text.isEmpty() ? std::nullopt : std::optional(text);
}

} // namespace

MurmoApp::MurmoApp(const QUrl& backend, const QString& embeddedBackend)
    : m_network(std::make_unique<QNetworkAccessManager>())
    , m_transport(*m_network, m_scheduler)
    , m_backend(m_transport, m_preferences, m_account, backend)
    , m_cloud(*m_network, m_scheduler, cloudFolder(), PrivateTemporaryDirectory::path())
    , m_history({m_clock, m_scheduler, m_preferences, m_cloud, HistoryStore::defaultFilePath(),
                 PrivateTemporaryDirectory::path()})
    , m_session({m_scheduler,
                 QDBusConnection::sessionBus(),
                 m_preferences.readKeyboards(),
                 {[this] { return optionalText(m_preferences.remoteDesktopToken()); },
                  [this](const QString& token) { m_preferences.setRemoteDesktopToken(token); }},
                 m_pasteboard,
                 m_keyboard,
                 m_keyMonitors})
    , m_holdSource(m_scheduler, m_session.watchesHoldKey() ? &m_hotkeyMonitor : nullptr)
    , m_trust(Installation::permissionsHelp())
    , m_recorder({m_audio, &SwrAudioConverter::create, m_encoder, m_clock, m_scheduler})
    , m_onboarding({m_views, m_scheduler, m_preferences, m_trust, m_microphone, m_recorder,
                    m_keyMonitors, m_backend, m_history, [this] { return m_recorder.level(); },
                    [this] { return m_session.capabilities().limitation().value_or(QString()); }})
    , m_tagger(Installation::taggerData())
    , m_stats(m_tokenizer, m_tagger, StatsEngine::defaultCachePath())
    , m_windows({m_views, m_clock, m_scheduler, m_screens, m_windowList, m_workspace, m_windowing},
                {m_history, m_backend, m_stats, m_account}, m_preferences,
                [this] { return m_recorder.level(); })
    , m_nudgeCards({m_views, m_scheduler, m_screens, m_windowing})
    , m_nudge({m_clock, m_scheduler, m_preferences, m_keyMonitors, m_workspace, m_frontmost,
               m_nudgeCards})
    , m_holdKey(m_holdSource,
                [this](const QString& problem) {
                    m_tray.showMessage(u"Murmo cannot watch the hold key"_s, problem);
                })
    , m_delegate({m_clock, m_scheduler, m_preferences, m_trust, m_session.pasteboard(),
                  m_activation, m_recorder, m_holdKey, m_backend, m_inserter, m_history, m_windows,
                  m_nudge})
    , m_autostart(Autostart::defaultEntryPath(), QCoreApplication::applicationFilePath())
    , m_menu(m_delegate.controller(), m_preferences, m_autostart,
             m_session.capabilities().probe().display == SessionProbe::Display::wayland)
    , m_historyScene(m_views, m_history, m_session.pasteboard(), m_scheduler)
    , m_tray(m_menu, [this] { showHistory(); })
{
    BackendClient::installShared(&m_backend);
    HistoryStore::installShared(&m_history);
    m_windows.setController(m_delegate.controller());
    m_windows.setOnboarding(m_onboarding);
    m_nudge.setController(m_delegate.controller());
    QObject::connect(&m_menu, &MenuContent::quitRequested, qApp, &QCoreApplication::quit);
    QObject::connect(
        &m_menu, &MenuContent::notice, &m_menu,
        [this](const QString& title, const QString& text) { m_tray.showMessage(title, text); });
    if (!embeddedBackend.isEmpty())
        m_backendSupervisor =
            std::make_unique<BackendSupervisor>(m_clock, m_scheduler, embeddedBackend, backend);
}

MurmoApp::~MurmoApp()
{
    // Requests still in flight end now, while everyone waiting for them is still here.
    for (QNetworkReply* reply : m_network->findChildren<QNetworkReply*>())
        reply->abort();
    m_network.reset();
}

void MurmoApp::applicationDidFinishLaunching()
{
    if (m_backendSupervisor)
        m_backendSupervisor->start();
    m_tray.show();
    m_session.start(m_holdSource, [this](const QString& problem) {
        m_tray.showMessage(u"Murmo cannot watch the hold key"_s, problem);
    });
    m_delegate.applicationDidFinishLaunching();
    sayWhatTheSessionLacks();
}

// Once, not at every start: a user who bound keys in the compositor has heard it.
void MurmoApp::sayWhatTheSessionLacks()
{
    const auto limitation = m_session.capabilities().limitation();
    if (!limitation || *limitation == m_preferences.sessionLimitationShown())
        return;
    m_tray.showMessage(u"What Murmo can do in this session"_s, *limitation);
    m_preferences.setSessionLimitationShown(*limitation);
}

void MurmoApp::showMainWindow()
{
    controller().showHome();
}

void MurmoApp::showHistory()
{
    m_historyScene.show();
}
