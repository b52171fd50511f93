#include "nudge/TypingNudge.h"

#include "core/DictationController.h"
#include "nudge/NudgeCard.h"
#include "nudge/NudgeCardFactory.h"
#include "platform/FrontmostApplication.h"
#include "preferences/Preferences.h"
#include "text/Graphemes.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Preferences keep nudge times as seconds since 1970; milliseconds keep the boundaries exact.
double toSeconds(Clock::TimePoint time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

Clock::TimePoint fromSeconds(double seconds)
{
    return Clock::TimePoint(
        std::chrono::round<std::chrono::milliseconds>(std::chrono::duration<double>(seconds)));
}

// One character that types something: control characters and Delete never count.
bool isPrintable(const QString& characters)
{
    if (characters.isEmpty() || Graphemes::count(characters) != 1)
        return false;
    const char32_t first = characters.toUcs4().front();
    return first >= 32 && first != 127;
}

} // namespace

TypingNudge::TypingNudge(const Services& services)
    : m_services(services)
{}

TypingNudge::~TypingNudge()
{
    stop();
    if (m_escMonitor)
        m_services.keys.removeMonitor(*m_escMonitor);
}

void TypingNudge::setController(const DictationController& controller)
{
    m_controller = &controller;
}

void TypingNudge::start()
{
    stop();
    m_keyMonitor =
        m_services.keys.addMonitor(KeyEventMonitors::Scope::global, KeyEventMonitors::Kind::keyDown,
                                   [this](const KeyEvent& event) { count(event); });
    m_activationObserver = m_services.workspace.addObserver([this](WorkspaceEvents::Change change) {
        if (change == WorkspaceEvents::Change::activeWindow)
            m_typed = 0;
    });
}

void TypingNudge::stop()
{
    if (m_keyMonitor)
        m_services.keys.removeMonitor(*std::exchange(m_keyMonitor, std::nullopt));
    if (m_activationObserver)
        m_services.workspace.removeObserver(*std::exchange(m_activationObserver, std::nullopt));
}

void TypingNudge::count(const KeyEvent& event)
{
    if (!mayCount(event))
        return;
    const Clock::TimePoint now = m_services.clock.now();
    if (!m_lastTypeAt || now - *m_lastTypeAt > pauseReset)
        m_typed = 0;
    m_lastTypeAt = now;
    ++m_typed;
    // Past the threshold while the nudge may not show, the burst keeps counting, so the nudge
    // comes with the first keystroke after the wait if the user is still typing.
    if (m_typed >= threshold && mayShow(now)) {
        m_typed = 0;
        m_services.preferences.setNudgeLast(toSeconds(now));
        show();
    }
}

bool TypingNudge::mayCount(const KeyEvent& event) const
{
    if (!m_services.preferences.nudges() || m_card)
        return false;
    if (!m_controller || m_controller->onboardingActive() ||
        m_controller->phase().kind() != Phase::Kind::idle)
        return false;
    if (event.modifierFlags & (ModifierFlags::command | ModifierFlags::control))
        return false;
    if (!isPrintable(event.characters))
        return false;
    // Asked last: it is the one check that goes to the window system.
    const FrontmostApplication& frontmost = m_services.frontmost;
    return !frontmost.current().isSameApplication(frontmost.own());
}

bool TypingNudge::mayShow(Clock::TimePoint now) const
{
    const Preferences& preferences = m_services.preferences;
    if (now < fromSeconds(preferences.nudgeSuppress()))
        return false;
    return now - fromSeconds(preferences.nudgeLast()) > cooldown;
}

void TypingNudge::show()
{
    if (m_card)
        return;
    m_card = m_services.cards.createCard(m_state, keyCapLabel(), [this] { dismiss(true); });
    m_card->present();
    // Shown hidden first, then revealed on the next turn, so the card animates in.
    m_state.setShowing(false);
    m_revealTask = m_services.scheduler.runAfter(Scheduler::Duration::zero(), [this] { reveal(); });
    m_escMonitor =
        m_services.keys.addMonitor(KeyEventMonitors::Scope::global, KeyEventMonitors::Kind::keyDown,
                                   [this](const KeyEvent& event) {
                                       if (event.keyCode == escapeKeyCode)
                                           dismiss(false);
                                   });
}

void TypingNudge::reveal()
{
    m_state.setShowing(true);
    // Armed after the countdown has started, so its last step (the cross) shows as the card
    // begins to fade.
    m_hideTask = m_services.scheduler.runAfter(showDuration, [this] { dismiss(false); });
}

void TypingNudge::dismiss(bool userInitiated)
{
    if (!m_card)
        return;
    m_revealTask.cancel();
    m_hideTask.cancel();
    if (m_escMonitor)
        m_services.keys.removeMonitor(*std::exchange(m_escMonitor, std::nullopt));
    if (userInitiated) {
        m_services.preferences.setNudgeSuppress(
            toSeconds(m_services.clock.now() + suppressAfterDismiss));
    }
    m_state.setShowing(false);
    m_closing = std::move(m_card);
    m_closeTask = m_services.scheduler.runAfter(fadeDuration, [this] { m_closing.reset(); });
}

// The key the card tells the user to hold, as it reads on a Linux keyboard.
QString TypingNudge::keyCapLabel() const
{
    const Hotkey hotkey = m_controller ? m_controller->hotkey() : Hotkeys::fallback;
    return Hotkeys::forLinuxKeyboard(Hotkeys::keyLabel(hotkey));
}
