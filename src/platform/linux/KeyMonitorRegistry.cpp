#include "platform/linux/KeyMonitorRegistry.h"

KeyMonitorHandle KeyMonitorRegistry::add(KeyEventMonitors::Scope scope, KeyEventMonitors::Kind kind,
                                         KeyEventMonitors::Handler handler)
{
    const auto handle = KeyMonitorHandle{++m_lastHandle};
    m_monitors.emplace(handle, Monitor{scope, kind, std::move(handler)});
    return handle;
}

void KeyMonitorRegistry::remove(KeyMonitorHandle handle)
{
    m_monitors.erase(handle);
}

void KeyMonitorRegistry::deliver(KeyEventMonitors::Scope scope, KeyEventMonitors::Kind kind,
                                 const KeyEvent& event) const
{
    std::vector<KeyMonitorHandle> due;
    for (const auto& [handle, monitor] : m_monitors) {
        if (monitor.scope == scope && monitor.kind == kind)
            due.push_back(handle);
    }
    for (const auto handle : due) {
        const auto found = m_monitors.find(handle);
        if (found == m_monitors.end())
            continue;
        // A copy: the handler may remove its own monitor while it runs.
        const auto handler = found->second.handler;
        handler(event);
    }
}

std::vector<KeyMonitorRegistry::Installed> KeyMonitorRegistry::installed() const
{
    std::vector<Installed> result;
    for (const auto& [handle, monitor] : m_monitors)
        result.push_back({handle, monitor.scope, monitor.kind});
    return result;
}
