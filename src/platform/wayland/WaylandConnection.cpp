#include "platform/wayland/WaylandConnection.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <poll.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

void syncDone(void* data, wl_callback* callback, uint32_t)
{
    if (data)
        *static_cast<bool*>(data) = true;
    wl_callback_destroy(callback);
}

const wl_callback_listener syncListener = {.done = syncDone};

} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::connect(QString* problem)
{
    const auto fail = [problem](const QString& reason) {
        if (problem)
            *problem = reason;
        return nullptr;
    };
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return fail(u"WAYLAND_DISPLAY is not set"_s);
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return fail(
            u"cannot connect to the Wayland display “%1”"_s.arg(QString::fromLocal8Bit(name)));
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    // The first round trip lists the globals; the second lets bound objects send their state.
    if (!connection->roundtrip() || !connection->roundtrip())
        return fail(u"the Wayland compositor did not answer in time"_s);
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display)
    : m_display(display)
    , m_registry(wl_display_get_registry(display))
{
    static const wl_registry_listener listener = {
        .global = &WaylandConnection::global,
        .global_remove = &WaylandConnection::globalRemove,
    };
    wl_registry_add_listener(m_registry, &listener, this);
    m_notifier =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { dispatch(); });
}

WaylandConnection::~WaylandConnection()
{
    m_notifier.reset();
    if (m_virtualKeyboard)
        zwp_virtual_keyboard_manager_v1_destroy(m_virtualKeyboard);
    if (m_dataControl)
        zwlr_data_control_manager_v1_destroy(m_dataControl);
    if (m_seat)
        wl_seat_destroy(m_seat);
    wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

void WaylandConnection::global(void* data, wl_registry* registry, uint32_t name,
                               const char* interface, uint32_t)
{
    auto* self = static_cast<WaylandConnection*>(data);
    // Version 1 of each is all Murmo speaks. The first seat is the user's.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->m_seat) {
        self->m_seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
        self->m_dataControl = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        self->m_virtualKeyboard = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    }
}

void WaylandConnection::globalRemove(void*, wl_registry*, uint32_t) {}

bool WaylandConnection::roundtrip()
{
    bool done = false;
    wl_callback* callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &syncListener, &done);
    const auto deadline = std::chrono::steady_clock::now() + answerLimit;
    while (!done && !broken()) {
        while (wl_display_prepare_read(m_display) != 0)
            wl_display_dispatch_pending(m_display);
        wl_display_flush(m_display);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{.fd = wl_display_get_fd(m_display), .events = POLLIN, .revents = 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            wl_display_cancel_read(m_display);
            break;
        }
        wl_display_read_events(m_display);
        wl_display_dispatch_pending(m_display);
    }
    if (!done) {
        // The callback may still arrive; it must not write to this stack frame then.
        wl_callback_set_user_data(callback, nullptr);
    }
    return done;
}

void WaylandConnection::flush()
{
    wl_display_flush(m_display);
}

bool WaylandConnection::broken() const
{
    return wl_display_get_error(m_display) != 0;
}

void WaylandConnection::dispatch()
{
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    if (wl_display_read_events(m_display) < 0 || broken()) {
        // The compositor went away: nothing will come any more.
        m_notifier->setEnabled(false);
        return;
    }
    wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
}
