#include "platform/linux/XcbConnection.h"

#include <xcb/xinput.h>
#include <xcb/xtest.h>

std::unique_ptr<XcbConnection> XcbConnection::open()
{
    int screenNumber = 0;
    auto* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    return std::unique_ptr<XcbConnection>(new XcbConnection(connection, screens.data->root));
}

XcbConnection::XcbConnection(xcb_connection_t* connection, xcb_window_t root)
    : m_connection(connection)
    , m_root(root)
{}

XcbConnection::~XcbConnection()
{
    xcb_disconnect(m_connection);
}

std::optional<std::uint8_t> XcbConnection::xinputOpcode() const
{
    const auto* extension = xcb_get_extension_data(m_connection, &xcb_input_id);
    if (!extension || !extension->present)
        return std::nullopt;
    const auto version = xcbOwned(xcb_input_xi_query_version_reply(
        m_connection, xcb_input_xi_query_version(m_connection, 2, 2), nullptr));
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < 1))
        return std::nullopt;
    return extension->major_opcode;
}

bool XcbConnection::hasXTest() const
{
    const auto* extension = xcb_get_extension_data(m_connection, &xcb_test_id);
    return extension && extension->present;
}

void XcbConnection::sync() const
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}
