#include "platform/linux/X11WindowList.h"

#include "platform/linux/X11Atoms.h"

#include <QGuiApplication>
#include <QScreen>

#include <vector>

namespace {

constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

template<class T>
QList<T> propertyValues(const xcb_get_property_reply_t* reply, xcb_atom_t type)
{
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto* values = static_cast<const T*>(xcb_get_property_value(reply));
    return QList<T>(values, values + xcb_get_property_value_length(reply) / 4);
}

// X11 speaks in device pixels; Qt scales each screen's contents about the screen's top-left
// corner by its device pixel ratio.
QRect toDesktopCoordinates(const QRect& native)
{
    for (const QScreen* screen : QGuiApplication::screens()) {
        const qreal ratio = screen->devicePixelRatio();
        const QPoint origin = screen->geometry().topLeft();
        const QRect nativeScreen(origin, screen->geometry().size() * ratio);
        if (nativeScreen.contains(native.center())) {
            const QPointF topLeft = origin + QPointF(native.topLeft() - origin) / ratio;
            return QRectF(topLeft, QSizeF(native.size()) / ratio).toRect();
        }
    }
    return native;
}

struct Requests
{
    xcb_window_t window;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_property_cookie_t pid;
    xcb_get_property_cookie_t type;
    xcb_get_property_cookie_t state;
    xcb_get_property_cookie_t desktop;
};

} // namespace

X11WindowList::X11WindowList()
    : m_connection(XcbConnection::open())
{
    if (!m_connection)
        return;
    const auto atoms =
        internAtoms<9>(m_connection->get(),
                       {"_NET_CLIENT_LIST_STACKING", "_NET_CURRENT_DESKTOP", "_NET_WM_DESKTOP",
                        "_NET_WM_PID", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DESKTOP",
                        "_NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN"});
    m_atoms = {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4],
               atoms[5], atoms[6], atoms[7], atoms[8]};
}

X11WindowList::~X11WindowList() = default;

std::optional<QList<ListedWindow>> X11WindowList::visibleWindows() const
{
    const auto order = stackingOrder();
    if (!order)
        return std::nullopt;
    xcb_connection_t* c = m_connection->get();
    const xcb_window_t root = m_connection->root();
    const auto currentDesktop = cardinal(root, m_atoms.currentDesktop);

    // Ask everything about every window first, then read the answers: one round trip in all.
    std::vector<Requests> requests;
    requests.reserve(std::size_t(order->size()));
    for (const xcb_window_t window : *order) {
        requests.push_back(
            {window, xcb_get_window_attributes(c, window), xcb_get_geometry(c, window),
             xcb_translate_coordinates(c, window, root, 0, 0),
             xcb_get_property(c, 0, window, m_atoms.pid, XCB_ATOM_CARDINAL, 0, 1),
             xcb_get_property(c, 0, window, m_atoms.type, XCB_ATOM_ATOM, 0, 32),
             xcb_get_property(c, 0, window, m_atoms.state, XCB_ATOM_ATOM, 0, 32),
             xcb_get_property(c, 0, window, m_atoms.desktop, XCB_ATOM_CARDINAL, 0, 1)});
    }

    QList<ListedWindow> windows;
    for (const Requests& r : requests) {
        const auto attributes = xcbOwned(xcb_get_window_attributes_reply(c, r.attributes, nullptr));
        const auto geometry = xcbOwned(xcb_get_geometry_reply(c, r.geometry, nullptr));
        const auto origin = xcbOwned(xcb_translate_coordinates_reply(c, r.origin, nullptr));
        const auto pid = xcbOwned(xcb_get_property_reply(c, r.pid, nullptr));
        const auto type = xcbOwned(xcb_get_property_reply(c, r.type, nullptr));
        const auto state = xcbOwned(xcb_get_property_reply(c, r.state, nullptr));
        const auto desktop = xcbOwned(xcb_get_property_reply(c, r.desktop, nullptr));
        // Gone in the meantime, or not on screen.
        if (!attributes || !geometry || !origin || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto types = propertyValues<xcb_atom_t>(type.get(), XCB_ATOM_ATOM);
        if (types.contains(m_atoms.typeDesktop) || types.contains(m_atoms.typeDock))
            continue;
        if (propertyValues<xcb_atom_t>(state.get(), XCB_ATOM_ATOM).contains(m_atoms.stateHidden))
            continue;
        const auto desktops = propertyValues<std::uint32_t>(desktop.get(), XCB_ATOM_CARDINAL);
        if (currentDesktop && !desktops.isEmpty() && desktops.front() != allDesktops &&
            desktops.front() != *currentDesktop)
            continue;

        ListedWindow listed;
        listed.frame = toDesktopCoordinates(
            QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height));
        const auto pids = propertyValues<std::uint32_t>(pid.get(), XCB_ATOM_CARDINAL);
        if (!pids.isEmpty())
            listed.pid = qint64(pids.front());
        windows.append(listed);
    }
    return windows;
}

std::optional<QList<xcb_window_t>> X11WindowList::stackingOrder() const
{
    if (!m_connection || m_atoms.clientListStacking == XCB_ATOM_NONE)
        return std::nullopt;
    xcb_connection_t* c = m_connection->get();
    const auto reply = xcbOwned(xcb_get_property_reply(c,
                                                       xcb_get_property(c, 0, m_connection->root(),
                                                                        m_atoms.clientListStacking,
                                                                        XCB_ATOM_WINDOW, 0, 4096),
                                                       nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW)
        return std::nullopt;
    return propertyValues<xcb_window_t>(reply.get(), XCB_ATOM_WINDOW);
}

std::optional<std::uint32_t> X11WindowList::cardinal(xcb_window_t window, xcb_atom_t property) const
{
    xcb_connection_t* c = m_connection->get();
    const auto reply = xcbOwned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    const auto values = propertyValues<std::uint32_t>(reply.get(), XCB_ATOM_CARDINAL);
    if (values.isEmpty())
        return std::nullopt;
    return values.front();
}
