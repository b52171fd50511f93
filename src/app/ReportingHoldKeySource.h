#pragma once

#include "input/HoldKeySource.h"

#include <functional>

// The hold-key monitor as the controller uses it, telling the user once when the desktop offers
// no way to watch the key: holding it would otherwise silently do nothing.
class ReportingHoldKeySource final : public HoldKeySource
{
public:
    ReportingHoldKeySource(HoldKeySource& monitor, std::function<void(const QString&)> report);

    void setHotkey(Hotkey hotkey) override { m_monitor.setHotkey(hotkey); }
    void setCallbacks(Callbacks callbacks) override
    {
        m_monitor.setCallbacks(std::move(callbacks));
    }
    std::optional<QString> start() override;
    void stop() override { m_monitor.stop(); }

private:
    HoldKeySource& m_monitor;
    std::function<void(const QString&)> m_report;
    bool m_reported = false;
};
