#pragma once

#include "platform/KeyEventMonitors.h"

#include <map>
#include <vector>

// The installed monitors of a KeyEventMonitors implementation and their delivery rules.
class KeyMonitorRegistry
{
public:
    struct Installed
    {
        KeyMonitorHandle handle;
        KeyEventMonitors::Scope scope;
        KeyEventMonitors::Kind kind;
    };

    KeyMonitorHandle add(KeyEventMonitors::Scope scope, KeyEventMonitors::Kind kind,
                         KeyEventMonitors::Handler handler);
    void remove(KeyMonitorHandle handle);
    // Runs the matching handlers in installation order. A handler may add or remove monitors:
    // removed ones are not called any more, added ones wait for the next event.
    void deliver(KeyEventMonitors::Scope scope, KeyEventMonitors::Kind kind,
                 const KeyEvent& event) const;
    std::vector<Installed> installed() const;

private:
    struct Monitor
    {
        KeyEventMonitors::Scope scope;
        KeyEventMonitors::Kind kind;
        KeyEventMonitors::Handler handler;
    };

    std::map<KeyMonitorHandle, Monitor> m_monitors;
    std::uint64_t m_lastHandle = 0;
};
