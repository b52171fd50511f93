#pragma once

#include "input/HoldKeySource.h"
#include "platform/Scheduler.h"

#include <chrono>
#include <memory>
#include <optional>

// The hold as a Wayland session delivers it: "began" and "ended" signals from outside the
// process (the desktop's shortcut, or key bindings that run `murmo --hold-begin` and
// `murmo --hold-end`), and, when the user lets Murmo read the keyboards, held keys seen directly.
// Main thread only.
class WaylandHoldSource final : public HoldKeySource
{
public:
    // A hold whose end never arrives (a lost release) ends by itself after this long, the
    // longest recording the backend takes.
    static constexpr std::chrono::minutes holdLimit{10};

    // `keys` watches the hold key itself, or is null: holds then come from outside only.
    WaylandHoldSource(Scheduler& scheduler, HoldKeySource* keys);
    ~WaylandHoldSource() override;
    WaylandHoldSource(const WaylandHoldSource&) = delete;
    WaylandHoldSource& operator=(const WaylandHoldSource&) = delete;

    void setHotkey(Hotkey hotkey) override;
    void setCallbacks(Callbacks callbacks) override { m_callbacks = std::move(callbacks); }
    std::optional<QString> start() override;
    void stop() override;

    // A second "began" during a hold is ignored, as is an "ended" without one.
    void holdBegan();
    void holdEnded();

private:
    void interrupted();
    void finish();

    Scheduler& m_scheduler;
    HoldKeySource* m_keys;
    Callbacks m_callbacks;
    bool m_started = false;
    bool m_holding = false;
    TimerHandle m_limit;
    // The key watcher's callbacks hold this weakly: once the source is gone they do nothing.
    std::shared_ptr<WaylandHoldSource*> m_self = std::make_shared<WaylandHoldSource*>(this);
};
