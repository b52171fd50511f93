#pragma once

#include "platform/KeyEventMonitors.h"
#include "platform/linux/KeyMonitorRegistry.h"

#include <set>
#include <utility>

// Key monitors a test feeds by hand. Records what is installed and can refuse installations.
class FakeKeyEventMonitors final : public KeyEventMonitors
{
public:
    std::optional<KeyMonitorHandle> addMonitor(Scope scope, Kind kind, Handler handler) override
    {
        if (refused.contains({scope, kind}))
            return std::nullopt;
        return registry.add(scope, kind, std::move(handler));
    }
    void removeMonitor(KeyMonitorHandle handle) override { registry.remove(handle); }
    std::optional<QString> unavailableReason() const override { return unavailable; }

    void send(Scope scope, Kind kind, const KeyEvent& event)
    {
        registry.deliver(scope, kind, event);
    }

    // Installations of these scope and kind pairs fail.
    std::set<std::pair<Scope, Kind>> refused;
    std::optional<QString> unavailable;
    KeyMonitorRegistry registry;
};
