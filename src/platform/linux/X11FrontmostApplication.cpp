#include "platform/linux/X11FrontmostApplication.h"

#include "platform/linux/X11Atoms.h"

#include <QCoreApplication>

namespace {

// Deep enough for any toolkit's focus proxy below its top-level window.
constexpr int maximumDepth = 8;

} // namespace

X11FrontmostApplication::X11FrontmostApplication()
    : m_connection(XcbConnection::open())
{
    if (!m_connection)
        return;
    const auto atoms = internAtoms<2>(m_connection->get(), {"_NET_ACTIVE_WINDOW", "_NET_WM_PID"});
    m_activeWindow = atoms[0];
    m_pid = atoms[1];
}

X11FrontmostApplication::~X11FrontmostApplication() = default;

ApplicationIdentity X11FrontmostApplication::current() const
{
    if (!m_connection)
        return {};
    // The focus may sit on a child of the application's window: walk up to the one that names
    // its application.
    xcb_window_t window = activeWindow();
    for (int depth = 0;
         depth < maximumDepth && window != XCB_NONE && window != m_connection->root(); ++depth) {
        xcb_window_t parent = XCB_NONE;
        if (const auto identity = identityOf(window, parent))
            return *identity;
        window = parent;
    }
    return {};
}

// Qt names the class of our windows after the application.
ApplicationIdentity X11FrontmostApplication::own() const
{
    return {QCoreApplication::applicationPid(), QCoreApplication::applicationName()};
}

xcb_window_t X11FrontmostApplication::activeWindow() const
{
    xcb_connection_t* c = m_connection->get();
    const auto active = xcbOwned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, m_connection->root(), m_activeWindow, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (active && active->type == XCB_ATOM_WINDOW &&
        xcb_get_property_value_length(active.get()) == 4) {
        const xcb_window_t window =
            *static_cast<xcb_window_t*>(xcb_get_property_value(active.get()));
        if (window != XCB_NONE)
            return window;
    }
    const auto focus = xcbOwned(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    // PointerRoot (1) follows the mouse: no window holds the focus.
    if (!focus || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return XCB_NONE;
    return focus->focus;
}

// The window's application if the window names it; otherwise none, with `parent` set.
std::optional<ApplicationIdentity> X11FrontmostApplication::identityOf(xcb_window_t window,
                                                                       xcb_window_t& parent) const
{
    xcb_connection_t* c = m_connection->get();
    const auto pidCookie = xcb_get_property(c, 0, window, m_pid, XCB_ATOM_CARDINAL, 0, 1);
    const auto classCookie =
        xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256);
    const auto treeCookie = xcb_query_tree(c, window);
    const auto pid = xcbOwned(xcb_get_property_reply(c, pidCookie, nullptr));
    const auto wmClass = xcbOwned(xcb_get_property_reply(c, classCookie, nullptr));
    const auto tree = xcbOwned(xcb_query_tree_reply(c, treeCookie, nullptr));
    parent = tree ? tree->parent : XCB_NONE;

    ApplicationIdentity identity;
    if (pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) == 4)
        identity.pid = *static_cast<std::uint32_t*>(xcb_get_property_value(pid.get()));
    if (wmClass && wmClass->format == 8) {
        // Instance and class, each ending in a NUL.
        const QByteArray value(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                               xcb_get_property_value_length(wmClass.get()));
        identity.windowClass = QString::fromLocal8Bit(value.split('\0').value(1));
    }
    if (!identity.pid && identity.windowClass.isEmpty())
        return std::nullopt;
    return identity;
}
