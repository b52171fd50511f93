#include "platform/wayland/EvdevKeyEventMonitors.h"

#include "platform/wayland/EvdevKeyboard.h"

#include <QTimer>

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <libudev.h>
#include <linux/input.h>
#include <unistd.h>

#include <cstring>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Keyboards as udev tags them; the kernel's event nodes only.
template<class Visit>
void forEachKeyboard(udev* context, Visit visit)
{
    udev_enumerate* enumerate = udev_enumerate_new(context);
    udev_enumerate_add_match_subsystem(enumerate, "input");
    udev_enumerate_add_match_property(enumerate, "ID_INPUT_KEYBOARD", "1");
    udev_enumerate_scan_devices(enumerate);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
    {
        udev_device* device =
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        const char* devnode = device ? udev_device_get_devnode(device) : nullptr;
        if (devnode && std::strncmp(devnode, "/dev/input/event", 16) == 0)
            visit(devnode);
        if (device)
            udev_device_unref(device);
    }
    udev_enumerate_unref(enumerate);
}

// An open event node that types letters: udev's tag also covers power buttons and the like.
bool typesLetters(int fd)
{
    libevdev* device = nullptr;
    if (libevdev_new_from_fd(fd, &device) < 0)
        return false;
    const bool letters = libevdev_has_event_code(device, EV_KEY, KEY_A) &&
                         libevdev_has_event_code(device, EV_KEY, KEY_Z);
    libevdev_free(device);
    return letters;
}

int openKeyboard(const char* devnode)
{
    const int fd = ::open(devnode, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && !typesLetters(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

EvdevKeyEventMonitors::EvdevKeyEventMonitors()
    : m_udev(udev_new())
{
    if (!m_udev)
        return;
    watchHotplug();
    forEachKeyboard(m_udev, [this](const char* devnode) { open(devnode); });
}

EvdevKeyEventMonitors::~EvdevKeyEventMonitors()
{
    m_keyboards.clear();
    m_hotplug.reset();
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

EvdevKeyEventMonitors::Census EvdevKeyEventMonitors::census()
{
    Census census;
    udev* context = udev_new();
    if (!context)
        return census;
    forEachKeyboard(context, [&census](const char* devnode) {
        ++census.keyboards;
        const int fd = openKeyboard(devnode);
        if (fd >= 0) {
            ++census.readable;
            ::close(fd);
        }
    });
    udev_unref(context);
    return census;
}

std::optional<KeyMonitorHandle> EvdevKeyEventMonitors::addMonitor(Scope scope, Kind kind,
                                                                  Handler handler)
{
    if (scope == Scope::local)
        return std::nullopt;
    return m_registry.add(scope, kind, std::move(handler));
}

void EvdevKeyEventMonitors::removeMonitor(KeyMonitorHandle handle)
{
    m_registry.remove(handle);
}

std::optional<QString> EvdevKeyEventMonitors::unavailableReason() const
{
    if (!m_keyboards.empty() || m_monitor)
        return std::nullopt;
    return u"Murmo cannot read any keyboard under /dev/input. Join the group “input”, log out "
           u"and in again, then restart Murmo."_s;
}

void EvdevKeyEventMonitors::open(const char* devnode)
{
    const std::string name(devnode);
    if (m_keyboards.contains(name))
        return;
    const int fd = openKeyboard(devnode);
    if (fd < 0)
        return;
    auto deliver = [this](Kind kind, const KeyEvent& event) {
        m_registry.deliver(Scope::global, kind, event);
    };
    // The keyboard ends inside its own read handler: let that return before it goes.
    auto gone = [this, name] {
        QTimer::singleShot(0, &m_context, [this, name] { m_keyboards.erase(name); });
    };
    m_keyboards[name] = std::make_unique<EvdevKeyboard>(
        fd, [fd] { return EvdevKeyboard::keysDownOnDevice(fd); }, deliver, gone);
}

void EvdevKeyEventMonitors::watchHotplug()
{
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor)
        return;
    udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "input", nullptr);
    if (udev_monitor_enable_receiving(m_monitor) < 0) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return;
    }
    m_hotplug =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read);
    QObject::connect(m_hotplug.get(), &QSocketNotifier::activated, m_hotplug.get(),
                     [this] { hotplug(); });
}

void EvdevKeyEventMonitors::hotplug()
{
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* action = udev_device_get_action(device);
        const char* devnode = udev_device_get_devnode(device);
        const char* keyboard = udev_device_get_property_value(device, "ID_INPUT_KEYBOARD");
        // Removal needs nothing here: the keyboard's own stream ends.
        if (action && std::strcmp(action, "add") == 0 && devnode && keyboard &&
            std::strcmp(keyboard, "1") == 0 && std::strncmp(devnode, "/dev/input/event", 16) == 0)
            open(devnode);
        udev_device_unref(device);
    }
}
