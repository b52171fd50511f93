#pragma once

#include "history/HistoryItem.h"
#include "onboarding/ObStep.h"
#include "platform/KeyEventMonitors.h"
#include "platform/TimerHandle.h"
#include "preferences/Hotkey.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class AccessibilityTrust;
class DictationController;
class MicrophoneAccess;
class OnboardingRequests;
class Preferences;
class Recorder;
class Scheduler;

// The first-run flow behind the onboarding window: the current step, every answer, whether the
// user may go on, and the effects of entering and leaving steps (permission poll, microphone and
// key tests). At the end it stores the answers and hands back to the controller.
class OnboardingModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int step READ stepIndex NOTIFY stepChanged)
    Q_PROPERTY(bool canContinue READ canContinue NOTIFY canContinueChanged)
    Q_PROPERTY(QString source READ source NOTIFY sourceChanged)
    Q_PROPERTY(QString role READ role NOTIFY roleChanged)
    Q_PROPERTY(QStringList typingContexts READ typingContexts NOTIFY typingContextsChanged)
    Q_PROPERTY(bool cloudSync READ cloudSync NOTIFY storageChanged)
    Q_PROPERTY(bool axGranted READ axGranted NOTIFY permissionsChanged)
    Q_PROPERTY(bool micGranted READ micGranted NOTIFY permissionsChanged)
    Q_PROPERTY(QStringList speakLangs READ speakLangs NOTIFY languagesChanged)
    Q_PROPERTY(bool autoDetect READ autoDetect NOTIFY languagesChanged)
    Q_PROPERTY(bool holdActive READ holdActive NOTIFY holdActiveChanged)
    Q_PROPERTY(QString learnText READ learnText WRITE setLearnText NOTIFY learnTextChanged)
    Q_PROPERTY(bool learnDone READ learnDone NOTIFY learnDoneChanged)
    Q_PROPERTY(double typingHoursPerDay READ typingHoursPerDay WRITE setTypingHoursPerDay NOTIFY
                   typingHoursPerDayChanged)
    Q_PROPERTY(bool shake READ shake NOTIFY shakeChanged)

public:
    struct Services
    {
        Scheduler& scheduler;
        Preferences& preferences;
        AccessibilityTrust& trust;
        MicrophoneAccess& microphone;
        // The controller's recorder: used only while the controller exists.
        Recorder& recorder;
        KeyEventMonitors& keys;
        OnboardingRequests& backend;
        // The newest dictation of the history, if any.
        std::function<std::optional<HistoryItem>()> newestDictation;
        // The system's preferred language identifiers, most preferred first ("de-DE").
        QStringList preferredLanguages;
    };

    static constexpr std::chrono::milliseconds permissionPollInterval{1000};
    static constexpr std::chrono::milliseconds shakeDuration{400};

    OnboardingModel(DictationController* controller, const Services& services,
                    QObject* parent = nullptr);
    ~OnboardingModel() override;

    ObStep step() const { return m_step; }
    int stepIndex() const { return static_cast<int>(m_step); }
    bool canContinue() const;
    QString source() const { return m_source.value_or(QString()); }
    QString role() const { return m_role.value_or(QString()); }
    QStringList typingContexts() const { return m_typingContexts; }
    bool cloudSync() const { return m_cloudSync; }
    bool dataChosen() const { return m_dataChosen; }
    bool axGranted() const { return m_axGranted; }
    bool micGranted() const { return m_micGranted; }
    QString speakLang() const { return m_speakLang; }
    QStringList speakLangs() const { return m_speakLangs; }
    bool autoDetect() const { return m_autoDetect; }
    bool holdActive() const { return m_holdActive; }
    QString learnText() const { return m_learnText; }
    void setLearnText(const QString& text);
    bool learnDone() const { return m_learnDone; }
    std::optional<int> lastWpm() const { return m_lastWpm; }
    double typingHoursPerDay() const { return m_typingHoursPerDay; }
    void setTypingHoursPerDay(double hours);
    bool shake() const { return m_shake; }
    // The controller's hold key, or the fallback once the controller is gone.
    Hotkey hotkey() const;

    Q_INVOKABLE void advance();
    Q_INVOKABLE void goBack();
    Q_INVOKABLE void skipLearning();
    Q_INVOKABLE void chooseSource(const QString& label);
    Q_INVOKABLE void chooseRole(const QString& label);
    Q_INVOKABLE void toggleContext(const QString& label);
    Q_INVOKABLE void chooseStorage(bool cloud);
    void saveLanguages(const QStringList& langs, bool autoDetect);
    void chooseHotkey(Hotkey key);
    Q_INVOKABLE void requestAccessibility();
    // A hidden window runs none of its step's effects (no microphone, no poll, no key test);
    // shown again, the step picks them up where it was.
    Q_INVOKABLE void setShown(bool shown);
    Q_INVOKABLE void requestMicrophone();

    bool isSelectedSource(const QString& label) const { return m_source == label; }
    bool isSelectedRole(const QString& label) const { return m_role == label; }
    bool isSelectedContext(const QString& label) const { return m_typingContexts.contains(label); }

    // Words a minute of a dictation; none when it is too short to tell.
    static std::optional<int> wordsPerMinute(const HistoryItem& item);

Q_SIGNALS:
    void stepChanged();
    void canContinueChanged();
    void sourceChanged();
    void roleChanged();
    void typingContextsChanged();
    void storageChanged();
    void permissionsChanged();
    void languagesChanged();
    void holdActiveChanged();
    void learnTextChanged();
    void learnDoneChanged();
    void lastWpmChanged();
    void typingHoursPerDayChanged();
    void shakeChanged();
    void hotkeyChanged();

private:
    void moveTo(ObStep step, bool runEnterEffect);
    void enter(ObStep step);
    void leave(ObStep step);
    void finish();

    void startPermissionPoll();
    void readPermissions();
    void setPermissions(bool ax, bool mic);
    void startHoldTest();
    void stopHoldTest();
    void holdKeyChanged(const KeyEvent& event);
    void setHoldActive(bool active);
    void measureLastDictation();
    void setLearnDone();
    void refuse();

    QPointer<DictationController> m_controller;
    Services m_services;
    // Answered asynchronously: a reply for a destroyed model must find nothing.
    std::shared_ptr<OnboardingModel*> m_self = std::make_shared<OnboardingModel*>(this);

    ObStep m_step = ObSteps::first;
    std::optional<QString> m_source;
    std::optional<QString> m_role;
    QStringList m_typingContexts;
    bool m_cloudSync = false;
    bool m_dataChosen = true;
    bool m_axGranted;
    bool m_micGranted;
    QString m_speakLang;
    QStringList m_speakLangs;
    bool m_autoDetect = true;
    bool m_holdActive = false;
    QString m_learnText;
    bool m_learnDone = false;
    std::optional<int> m_lastWpm;
    double m_typingHoursPerDay = 4.0;
    bool m_shake = false;
    bool m_shown = true;
    TimerHandle m_permPoll;
    TimerHandle m_shakeReset;
    std::optional<KeyMonitorHandle> m_holdMonitor;
};
