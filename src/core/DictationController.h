#pragma once

#include "core/AppWindow.h"
#include "core/Phase.h"
#include "core/StatusPill.h"
#include "core/WindowLayout.h"
#include "input/Take.h"
#include "platform/Clock.h"
#include "platform/Scheduler.h"
#include "preferences/Hotkey.h"

#include <QObject>

#include <QCoroTask>

#include <chrono>
#include <memory>
#include <optional>
#include <stop_token>

class AccessibilityTrust;
struct ApiError;
struct DictationResponse;
class ActivationPolicy;
class DictationBackend;
class DictationHistory;
class HoldKeySource;
class NudgeStarter;
class Pasteboard;
class Preferences;
class Recorder;
class TextInserter;
class WindowFactory;

// Drives one dictation from the hold key to the inserted text and keeps the phase every
// surface shows. One instance lives for the whole process; everything runs on the main thread.
class DictationController : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(bool permissionsGranted READ permissionsGranted NOTIFY permissionsGrantedChanged)
    Q_PROPERTY(QString lastText READ lastText NOTIFY lastTextChanged)
    Q_PROPERTY(Hotkey hotkey READ hotkey WRITE setHotkey NOTIFY hotkeyChanged)

public:
    // How the current recording was started: by the hold key (released to finish) or by a
    // click (finished by the next click).
    enum class Source
    {
        hold,
        toggle
    };

    struct Collaborators
    {
        Clock& clock;
        Scheduler& scheduler;
        Preferences& preferences;
        AccessibilityTrust& trust;
        Pasteboard& pasteboard;
        ActivationPolicy& activation;
        Recorder& recorder;
        HoldKeySource& monitor;
        DictationBackend& backend;
        TextInserter& inserter;
        DictationHistory& history;
        WindowFactory& windows;
        NudgeStarter& nudge;
    };

    // A hold must last strictly longer than this to be sent.
    static constexpr std::chrono::milliseconds minimumHold{350};
    // How long `done` and notices stay before the phase returns to idle.
    static constexpr std::chrono::milliseconds transientDisplay{1400};
    // What the pill's "Hide for 1 hour" asks for.
    static constexpr std::chrono::seconds pillHidePeriod{3600};

    explicit DictationController(const Collaborators& collaborators, QObject* parent = nullptr);
    ~DictationController() override;

    Phase phase() const { return m_phase; }
    bool permissionsGranted() const { return m_permissionsGranted; }
    QString lastText() const { return m_lastText; }
    // From showing the onboarding until it is finished.
    bool onboardingActive() const { return m_onboardingActive; }
    Hotkey hotkey() const { return m_hotkey; }
    // Stores the key and hands it to the key monitor.
    void setHotkey(Hotkey hotkey);

    // Called once when the application has finished launching.
    void setUp();

    void startRecording(Source source);
    void finishRecording();
    void cancelRecording();
    Q_INVOKABLE void toggleRecording();
    Q_INVOKABLE void cancelProcessing();

    void showTransient(const Phase& phase);
    void refreshPill();
    void hidePill(std::chrono::seconds period);

    Q_INVOKABLE void showHome();
    Q_INVOKABLE void showOnboarding();
    void finishOnboarding();
    void refreshPermissions();
    Q_INVOKABLE void copyLastTranscript();

Q_SIGNALS:
    void phaseChanged();
    void permissionsGrantedChanged();
    void lastTextChanged();
    void hotkeyChanged();

private:
    QCoro::Task<> process(Take take, double holdSeconds, std::stop_token stop);
    QCoro::Task<> returnToIdle(Phase shown, std::stop_token stop);
    void handleDictateFailure(const ApiError& error);
    void record(const DictationResponse& response, const QString& text, double holdSeconds);

    void setPhase(const Phase& phase);
    void setPermissionsGranted(bool granted);
    void readTrust();
    void cancelHideTask();
    void presentPill();
    void enterNormalMode();
    void onHomeClosing();

    Clock& m_clock;
    Scheduler& m_scheduler;
    Preferences& m_preferences;
    AccessibilityTrust& m_trust;
    Pasteboard& m_pasteboard;
    ActivationPolicy& m_activation;
    Recorder& m_recorder;
    HoldKeySource& m_monitor;
    DictationBackend& m_backend;
    TextInserter& m_inserter;
    DictationHistory& m_history;
    WindowFactory& m_windows;
    NudgeStarter& m_nudge;

    Phase m_phase;
    bool m_permissionsGranted = false;
    QString m_lastText;
    Hotkey m_hotkey;
    std::unique_ptr<StatusPill> m_pill;
    std::unique_ptr<AppWindow> m_onboarding;
    std::unique_ptr<AppWindow> m_home;
    bool m_onboardingActive = false;
    std::stop_source m_hideTask{std::nostopstate};
    std::stop_source m_processTask{std::nostopstate};
    Source m_source = Source::hold;
    std::optional<Clock::TimePoint> m_barHiddenUntil;
};
