#include "input/HotkeyMonitor.h"

#include <utility>

namespace {

// By value: a callback may replace the callbacks while it runs.
void call(std::function<void()> callback)
{
    if (callback)
        callback();
}

// The flag only the watched key itself sets: each right-hand key shares its modifier flag with
// the left-hand one.
std::uint64_t ownFlag(Hotkey hotkey)
{
    switch (hotkey) {
    case Hotkey::rightCommand:
        return ModifierFlags::rightCommandKey;
    case Hotkey::rightOption:
        return ModifierFlags::rightOptionKey;
    case Hotkey::fn:
        return ModifierFlags::function;
    }
    return 0;
}

} // namespace

HotkeyMonitor::HotkeyMonitor(KeyEventMonitors& events, const Clock& clock)
    : m_events(events)
    , m_clock(clock)
{}

HotkeyMonitor::~HotkeyMonitor()
{
    stop();
}

void HotkeyMonitor::setHotkey(Hotkey hotkey)
{
    if (hotkey == m_hotkey)
        return;
    m_hotkey = hotkey;
    if (std::exchange(m_holding, false))
        call(m_callbacks.onHoldEnded);
}

std::optional<QString> HotkeyMonitor::start()
{
    using Scope = KeyEventMonitors::Scope;
    using Kind = KeyEventMonitors::Kind;
    stop();
    if (auto reason = m_events.unavailableReason())
        return reason;
    install(Scope::global, Kind::flagsChanged, &HotkeyMonitor::flagsChanged);
    install(Scope::global, Kind::keyDown, &HotkeyMonitor::keyDown);
    // No local key-down monitor: typing into our own windows never interrupts a hold.
    install(Scope::local, Kind::flagsChanged, &HotkeyMonitor::flagsChanged);
    return std::nullopt;
}

void HotkeyMonitor::stop()
{
    for (const auto handle : m_monitors)
        m_events.removeMonitor(handle);
    m_monitors.clear();
    m_holding = false;
}

void HotkeyMonitor::install(KeyEventMonitors::Scope scope, KeyEventMonitors::Kind kind,
                            EventHandling handling)
{
    auto handler = [self = std::weak_ptr(m_self), handling](const KeyEvent& event) {
        if (const auto monitor = self.lock())
            ((*monitor)->*handling)(event);
    };
    // A monitor the desktop refuses is skipped; the others still work.
    if (const auto handle = m_events.addMonitor(scope, kind, std::move(handler)))
        m_monitors.push_back(*handle);
}

void HotkeyMonitor::flagsChanged(const KeyEvent& event)
{
    if (event.keyCode != Hotkeys::keyCode(m_hotkey))
        return;
    const bool down = event.modifierFlags & ownFlag(m_hotkey);
    if (down && !m_holding) {
        m_holding = true;
        m_holdStart = m_clock.now();
        call(m_callbacks.onHoldBegan);
    } else if (!down && m_holding) {
        m_holding = false;
        call(m_callbacks.onHoldEnded);
    }
}

void HotkeyMonitor::keyDown(const KeyEvent&)
{
    if (!m_holding || m_clock.now() - m_holdStart >= interruptionWindow)
        return;
    m_holding = false;
    call(m_callbacks.onInterrupted);
}
