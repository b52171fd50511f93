#pragma once

#include "platform/KeyEventMonitors.h"
#include "platform/linux/KeyMonitorRegistry.h"

#include <QSocketNotifier>

#include <map>
#include <memory>

class EvdevKeyboard;
struct udev;
struct udev_monitor;

// Global key monitors fed by the keyboards under /dev/input, for Wayland sessions where the user
// chose to let Murmo read them (membership of the group "input"). Nothing is grabbed: every key
// still reaches the focused window. Keyboards plugged in later are picked up. There are no local
// monitors: our own windows' keys arrive through the same devices.
class EvdevKeyEventMonitors final : public KeyEventMonitors
{
public:
    struct Census
    {
        int keyboards = 0;
        int readable = 0;
    };

    EvdevKeyEventMonitors();
    ~EvdevKeyEventMonitors() override;

    // How many keyboards there are, and how many of them this user may read.
    static Census census();

    std::optional<KeyMonitorHandle> addMonitor(Scope scope, Kind kind, Handler handler) override;
    void removeMonitor(KeyMonitorHandle handle) override;
    std::optional<QString> unavailableReason() const override;

private:
    void open(const char* devnode);
    void watchHotplug();
    void hotplug();

    KeyMonitorRegistry m_registry;
    // Context of work put off to a fresh turn of the event loop.
    QObject m_context;
    udev* m_udev;
    udev_monitor* m_monitor = nullptr;
    std::unique_ptr<QSocketNotifier> m_hotplug;
    std::map<std::string, std::unique_ptr<EvdevKeyboard>> m_keyboards;
};
