#include "platform/linux/XcbConnection.h"

#include <xcb/xinput.h>
#include <xcb/xtest.h>

using namespace Qt::StringLiterals;

namespace {

QString unreachableDisplay()
{
    const QString display = qEnvironmentVariable("DISPLAY");
    // Murmo reaches a Wayland desktop through XWayland only.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (display.isEmpty() && wayland)
        return u"Murmo needs XWayland in a Wayland session, and this session has no X display "
               "(DISPLAY is not set). Turn XWayland on, then start Murmo again."_s;
    if (display.isEmpty())
        return u"Murmo needs an X display, and none is set (DISPLAY is empty). Start Murmo from "
               "your desktop session."_s;
    if (wayland)
        return u"Murmo cannot reach the X display \"%1\" that XWayland should provide in this "
               "Wayland session. Check that XWayland is running, then start Murmo again."_s.arg(
                   display);
    return u"Murmo cannot reach the X display \"%1\". Check that the X server is running and "
           "that you may connect to it."_s.arg(display);
}

} // namespace

std::unique_ptr<XcbConnection> XcbConnection::open(QString* problem)
{
    int screenNumber = 0;
    auto* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        if (problem)
            *problem = unreachableDisplay();
        return nullptr;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    return std::unique_ptr<XcbConnection>(new XcbConnection(connection, screens.data->root));
}

std::optional<QString> XcbConnection::displayProblem()
{
    QString problem;
    if (open(&problem))
        return std::nullopt;
    return problem;
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
