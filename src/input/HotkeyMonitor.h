#pragma once

#include "input/HoldKeySource.h"
#include "platform/Clock.h"
#include "platform/KeyEventMonitors.h"

#include <chrono>
#include <memory>
#include <vector>

// Watches the hold key anywhere on the desktop. A hold begins when the key goes down and ends
// when that very key comes up, whatever the other key sharing its flag does; a key typed early in
// the hold interrupts it instead. Main thread only.
class HotkeyMonitor final : public HoldKeySource
{
public:
    // A key typed less than this long after the hold began interrupts it.
    static constexpr std::chrono::milliseconds interruptionWindow{1000};

    HotkeyMonitor(KeyEventMonitors& events, const Clock& clock);
    ~HotkeyMonitor() override;
    HotkeyMonitor(const HotkeyMonitor&) = delete;
    HotkeyMonitor& operator=(const HotkeyMonitor&) = delete;

    // Read afresh on every event: a change takes effect with the next one. A hold in progress
    // ends, since the release of its key would no longer be seen.
    void setHotkey(Hotkey hotkey) override;
    void setCallbacks(Callbacks callbacks) override { m_callbacks = std::move(callbacks); }
    std::optional<QString> start() override;
    // Removes the monitors and forgets any hold in progress, calling nothing.
    void stop() override;

private:
    using EventHandling = void (HotkeyMonitor::*)(const KeyEvent&);

    void install(KeyEventMonitors::Scope scope, KeyEventMonitors::Kind kind,
                 EventHandling handling);
    void flagsChanged(const KeyEvent& event);
    void keyDown(const KeyEvent& event);

    KeyEventMonitors& m_events;
    const Clock& m_clock;
    Callbacks m_callbacks;
    Hotkey m_hotkey = Hotkey::rightCommand;
    std::vector<KeyMonitorHandle> m_monitors;
    bool m_holding = false;
    Clock::TimePoint m_holdStart = Clock::TimePoint::min();
    // Handlers hold this weakly: once the monitor is gone they do nothing.
    std::shared_ptr<HotkeyMonitor*> m_self = std::make_shared<HotkeyMonitor*>(this);
};
