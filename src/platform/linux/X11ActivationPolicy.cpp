#include "platform/linux/X11ActivationPolicy.h"

#include "platform/linux/X11Atoms.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

// _NET_WM_STATE actions and the source indication of an ordinary application.
constexpr std::uint32_t removeState = 0;
constexpr std::uint32_t addState = 1;
constexpr std::uint32_t fromApplication = 1;

bool isOrdinary(const QWindow& window)
{
    const Qt::WindowType type = window.type();
    return type == Qt::Window || type == Qt::Dialog;
}

} // namespace

X11ActivationPolicy::X11ActivationPolicy()
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    m_connection = x11->connection();
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const auto atoms =
        internAtoms<2>(m_connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"});
    m_state = atoms[0];
    m_skipTaskbar = atoms[1];
    qGuiApp->installEventFilter(this);
}

X11ActivationPolicy::~X11ActivationPolicy()
{
    if (qGuiApp)
        qGuiApp->removeEventFilter(this);
}

void X11ActivationPolicy::setMode(Mode mode)
{
    m_mode = mode;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->handle())
            apply(*window);
    }
}

bool X11ActivationPolicy::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated) {
        if (auto* window = qobject_cast<QWindow*>(watched); window && !window->parent())
            apply(*window);
    }
    return QObject::eventFilter(watched, event);
}

void X11ActivationPolicy::apply(QWindow& window)
{
    if (!m_connection || !isOrdinary(window))
        return;
    const auto id = xcb_window_t(window.winId());
    const bool skip = m_mode == Mode::accessory;

    // A window not yet mapped carries the state itself; window managers read it on mapping.
    const auto reply = xcbOwned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, id, m_state, XCB_ATOM_ATOM, 0, 64),
        nullptr));
    std::vector<xcb_atom_t> states;
    if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        states.assign(atoms, atoms + xcb_get_property_value_length(reply.get()) / 4);
    }
    std::erase(states, m_skipTaskbar);
    if (skip)
        states.push_back(m_skipTaskbar);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_state, XCB_ATOM_ATOM, 32,
                        std::uint32_t(states.size()), states.data());

    // A mapped window's state belongs to the window manager, which is asked to change it.
    if (window.isVisible()) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = m_state;
        message.data.data32[0] = skip ? addState : removeState;
        message.data.data32[1] = m_skipTaskbar;
        message.data.data32[3] = fromApplication;
        xcb_send_event(m_connection, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
    }
    xcb_flush(m_connection);
}
