#pragma once

#include "nudge/NudgeStarter.h"
#include "nudge/NudgeState.h"
#include "platform/Clock.h"
#include "platform/KeyEventMonitors.h"
#include "platform/Scheduler.h"
#include "platform/WorkspaceEvents.h"

#include <QPointer>

#include <chrono>
#include <memory>
#include <optional>

class DictationController;
class FrontmostApplication;
class NudgeCard;
class NudgeCardFactory;
class Preferences;

// Watches the user type by hand in other applications and, after a long unbroken burst,
// suggests holding the dictation key instead with a card that goes away after five seconds.
// At most one nudge in three hours; dismissing one by its button silences them for a day.
// Of the typing it keeps only how many keys the current burst has and when the last one came.
class TypingNudge final : public NudgeStarter
{
public:
    struct Services
    {
        const Clock& clock;
        Scheduler& scheduler;
        Preferences& preferences;
        KeyEventMonitors& keys;
        WorkspaceEvents& workspace;
        FrontmostApplication& frontmost;
        NudgeCardFactory& cards;
    };

    // Keystrokes in one burst that bring up the nudge.
    static constexpr int threshold = 120;
    // A longer gap between two keystrokes starts a new burst.
    static constexpr std::chrono::milliseconds pauseReset{2000};
    static constexpr std::chrono::seconds cooldown{10800};
    static constexpr std::chrono::seconds suppressAfterDismiss{86400};
    static constexpr std::chrono::seconds showDuration{5};
    // How long the card fades before its window closes.
    static constexpr std::chrono::milliseconds fadeDuration{200};
    static constexpr int escapeKeyCode = 53;

    explicit TypingNudge(const Services& services);
    ~TypingNudge() override;

    // The controller whose phase, onboarding and hold key the nudge reads; held weakly. Until
    // it is set, and once it is gone, nothing is counted.
    void setController(const DictationController& controller);

    // Starts counting; a second start replaces the first one's monitors.
    void start() override;
    // Stops counting; a card on the screen stays.
    void stop();
    void show();
    // Takes the card down; only the card's own button is `userInitiated`.
    void dismiss(bool userInitiated);

    NudgeState& state() { return m_state; }

private:
    void count(const KeyEvent& event);
    bool mayCount(const KeyEvent& event) const;
    bool mayShow(Clock::TimePoint now) const;
    void reveal();
    QString keyCapLabel() const;

    Services m_services;
    QPointer<const DictationController> m_controller;
    NudgeState m_state;
    std::unique_ptr<NudgeCard> m_card;
    // The card fading out after a dismissal.
    std::unique_ptr<NudgeCard> m_closing;
    std::optional<KeyMonitorHandle> m_keyMonitor;
    std::optional<KeyMonitorHandle> m_escMonitor;
    std::optional<WorkspaceObserver> m_activationObserver;
    TimerHandle m_revealTask;
    TimerHandle m_hideTask;
    TimerHandle m_closeTask;
    int m_typed = 0;
    std::optional<Clock::TimePoint> m_lastTypeAt;
};
