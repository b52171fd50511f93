#include "platform/linux/X11PanelWindowing.h"

#include "platform/linux/X11Atoms.h"

#include <QGuiApplication>

#include <xcb/shape.h>

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

xcb_window_t xcbWindow(PanelWindowing::WindowId window)
{
    return xcb_window_t(window);
}

std::vector<xcb_atom_t> atomList(const xcb_get_property_reply_t* reply)
{
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return {};
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    return {atoms, atoms + xcb_get_property_value_length(reply) / 4};
}

} // namespace

X11PanelWindowing::X11PanelWindowing()
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    m_connection = x11->connection();
    const auto* shape = xcb_get_extension_data(m_connection, &xcb_shape_id);
    m_hasShape = shape && shape->present;
    const auto atoms =
        internAtoms<6>(m_connection, {"_NET_WM_STATE", "_NET_WM_STATE_STICKY",
                                      "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                                      "_NET_WM_DESKTOP", "_KDE_NET_WM_BLUR_BEHIND_REGION"});
    m_state = atoms[0];
    m_sticky = atoms[1];
    m_skipTaskbar = atoms[2];
    m_skipPager = atoms[3];
    m_desktop = atoms[4];
    m_blurRegion = atoms[5];
}

void X11PanelWindowing::makeFloating(WindowId window)
{
    if (!m_connection)
        return;
    // Window managers read these when the window is mapped; Qt keeps states it does not manage
    // when it adds its own (above, for staying on top).
    const auto reply = xcbOwned(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, xcbWindow(window), m_state, XCB_ATOM_ATOM, 0, 64),
        nullptr));
    std::vector<xcb_atom_t> states = atomList(reply.get());
    for (const xcb_atom_t wanted : {m_sticky, m_skipTaskbar, m_skipPager}) {
        if (std::find(states.begin(), states.end(), wanted) == states.end())
            states.push_back(wanted);
    }
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, xcbWindow(window), m_state,
                        XCB_ATOM_ATOM, 32, std::uint32_t(states.size()), states.data());
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, xcbWindow(window), m_desktop,
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    xcb_flush(m_connection);
}

void X11PanelWindowing::setInputRegion(WindowId window, const QList<QRect>& region)
{
    if (!m_connection || !m_hasShape)
        return;
    std::vector<xcb_rectangle_t> rectangles;
    for (const QRect& r : region)
        rectangles.push_back({std::int16_t(r.x()), std::int16_t(r.y()), std::uint16_t(r.width()),
                              std::uint16_t(r.height())});
    xcb_shape_rectangles(m_connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                         XCB_CLIP_ORDERING_UNSORTED, xcbWindow(window), 0, 0,
                         std::uint32_t(rectangles.size()), rectangles.data());
    xcb_flush(m_connection);
}

void X11PanelWindowing::setBlurRegion(WindowId window, const QList<QRect>& region)
{
    if (!m_connection)
        return;
    if (region.isEmpty()) {
        xcb_delete_property(m_connection, xcbWindow(window), m_blurRegion);
    } else {
        std::vector<std::uint32_t> values;
        for (const QRect& r : region)
            values.insert(values.end(), {std::uint32_t(r.x()), std::uint32_t(r.y()),
                                         std::uint32_t(r.width()), std::uint32_t(r.height())});
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, xcbWindow(window), m_blurRegion,
                            XCB_ATOM_CARDINAL, 32, std::uint32_t(values.size()), values.data());
    }
    xcb_flush(m_connection);
}
