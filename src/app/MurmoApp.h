#pragma once

#include "api/BackendClient.h"
#include "api/BackendTransport.h"
#include "app/AppDelegate.h"
#include "app/Autostart.h"
#include "app/BackendSupervisor.h"
#include "app/DesktopWindows.h"
#include "app/HistoryScene.h"
#include "app/MenuContent.h"
#include "app/OnboardingScene.h"
#include "app/ReportingHoldKeySource.h"
#include "app/TrayIcon.h"
#include "core/ClipboardInserter.h"
#include "history/HistoryStore.h"
#include "input/HotkeyMonitor.h"
#include "input/MicrophoneRecorder.h"
#include "nudge/TypingNudge.h"
#include "platform/linux/AtspiSecureInput.h"
#include "platform/linux/FfmpegAudioFileEncoder.h"
#include "platform/linux/IcuWordTokenizer.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/linux/MultilingualTagger.h"
#include "platform/linux/PasswdUserAccount.h"
#include "platform/linux/PulseAudioEngine.h"
#include "platform/linux/PulseMicrophoneAccess.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/QtScreenLayout.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/WebDavCloudDatabase.h"
#include "platform/linux/X11AccessibilityTrust.h"
#include "platform/linux/X11ActivationPolicy.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11KeyEventMonitors.h"
#include "platform/linux/X11PanelWindowing.h"
#include "platform/linux/X11Pasteboard.h"
#include "platform/linux/X11SyntheticKeyboard.h"
#include "platform/linux/X11WindowList.h"
#include "platform/linux/X11WorkspaceEvents.h"
#include "platform/linux/XTestInjectionMarker.h"
#include "platform/wayland/WaylandHoldSource.h"
#include "platform/wayland/WaylandServices.h"
#include "preferences/Preferences.h"
#include "stats/StatsEngine.h"
#include "ui/NudgePanelFactory.h"
#include "ui/ViewHost.h"

#include <QNetworkAccessManager>
#include <QUrl>

#include <memory>

// The composition root: every real desktop service, the process-wide stores and clients, the
// dictation controller and the application's own surfaces (tray, history window), made in an
// order in which each finds what it uses, and taken down in the reverse order, so that no task
// resumes on a collaborator already gone. Needs a QApplication on X11.
class MurmoApp
{
public:
    // `backend`: the accepted backend address; `embeddedBackend`: murmo-backend to run when
    // nothing answers there (empty: someone else runs the backend).
    MurmoApp(const QUrl& backend, const QString& embeddedBackend);
    ~MurmoApp();
    MurmoApp(const MurmoApp&) = delete;
    MurmoApp& operator=(const MurmoApp&) = delete;

    // Once the event loop runs: the controller's launch, the tray icon, the embedded backend.
    void applicationDidFinishLaunching();
    void showMainWindow();
    void showHistory();

    DictationController& controller() { return m_delegate.controller(); }
    // Where `murmo --hold-begin` and `murmo --hold-end` go.
    WaylandHoldSource& holdSource() { return m_holdSource; }

private:
    void sayWhatTheSessionLacks();

    ViewHost m_views;
    SystemClock m_clock;
    QtScheduler m_scheduler;
    JsonPreferencesStore m_preferencesStore{JsonPreferencesStore::defaultFilePath()};
    Preferences m_preferences{m_preferencesStore};

    // Requests in flight are abandoned first on the way down (see the destructor).
    std::unique_ptr<QNetworkAccessManager> m_network;
    BackendTransport m_transport;
    PasswdUserAccount m_account;
    BackendClient m_backend;
    WebDavCloudDatabase m_cloud;
    HistoryStore m_history;

    XTestInjectionMarker m_ownInjections{m_clock}; // shared by the monitors and the keyboard
    X11KeyEventMonitors m_keyMonitors{m_ownInjections, m_scheduler};
    X11SyntheticKeyboard m_keyboard{m_ownInjections};
    X11Pasteboard m_pasteboard{m_scheduler};
    // The hold key, the clipboard and the paste keystroke as this session offers them: X11's in
    // an X11 session, what the compositor or the desktop portal offers in a Wayland one.
    WaylandServices m_session;
    HotkeyMonitor m_hotkeyMonitor{m_session.holdKeyEvents(), m_clock};
    WaylandHoldSource m_holdSource;
    AtspiSecureInput m_secureInput{m_scheduler};
    ClipboardInserter m_inserter{m_scheduler, m_secureInput, m_session.pasteboard(),
                                 m_session.keyboard()};
    X11AccessibilityTrust m_trust;

    PulseAudioEngine m_audio;
    FfmpegAudioFileEncoder m_encoder;
    MicrophoneRecorder m_recorder;
    PulseMicrophoneAccess m_microphone;
    OnboardingScene m_onboarding;

    QtScreenLayout m_screens;
    X11WindowList m_windowList;
    X11WorkspaceEvents m_workspace;
    X11PanelWindowing m_windowing;
    X11ActivationPolicy m_activation;
    // The statistics of the main window; the tagger starts its helpers when first asked.
    IcuWordTokenizer m_tokenizer;
    MultilingualTagger m_tagger;
    StatsEngine m_stats;
    DesktopWindows m_windows;
    X11FrontmostApplication m_frontmost;
    NudgePanelFactory m_nudgeCards;
    TypingNudge m_nudge; // outlives the controller, which it watches
    // Reports to the tray, which is made later: the first start happens after both exist.
    ReportingHoldKeySource m_holdKey;

    AppDelegate m_delegate;

    Autostart m_autostart;
    MenuContent m_menu;
    HistoryScene m_historyScene;
    TrayIcon m_tray;
    std::unique_ptr<BackendSupervisor> m_backendSupervisor;
};
