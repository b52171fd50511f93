#include "support/TestDesktop.h"

#include "platform/linux/X11Atoms.h"
#include "support/WaitUntil.h"

#include <QProcess>

#include <algorithm>

namespace murmo::test {

TestDesktop::TestDesktop()
    : m_connection(XcbConnection::open())
{}

TestDesktop::~TestDesktop() = default;

bool TestDesktop::focusWindow(const QByteArray& instance)
{
    auto* connection = m_connection->get();
    const auto findWindow = [&]() -> xcb_window_t {
        const auto tree = xcbOwned(xcb_query_tree_reply(
            connection, xcb_query_tree(connection, m_connection->root()), nullptr));
        if (!tree)
            return XCB_NONE;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const auto attributes = xcbOwned(xcb_get_window_attributes_reply(
                connection, xcb_get_window_attributes(connection, children[i]), nullptr));
            if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
                continue;
            const auto wmClass = xcbOwned(
                xcb_get_property_reply(connection,
                                       xcb_get_property(connection, false, children[i],
                                                        XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
                                       nullptr));
            if (wmClass &&
                static_cast<const char*>(xcb_get_property_value(wmClass.get())) == instance)
                return children[i];
        }
        return XCB_NONE;
    };
    xcb_window_t window = XCB_NONE;
    if (!waitUntil([&] { return (window = findWindow()) != XCB_NONE; }))
        return false;
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    m_connection->sync();
    return true;
}

bool TestDesktop::isKeyDown(int xKeycode) const
{
    auto* connection = m_connection->get();
    const auto keys =
        xcbOwned(xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    return keys && (keys->keys[xKeycode / 8] >> (xKeycode % 8)) & 1;
}

bool TestDesktop::clipboardHasOwner() const
{
    auto* connection = m_connection->get();
    const auto owner = xcbOwned(xcb_get_selection_owner_reply(
        connection,
        xcb_get_selection_owner(connection, internAtoms<1>(connection, {"CLIPBOARD"})[0]),
        nullptr));
    return owner && owner->owner != XCB_NONE;
}

std::uint32_t TestDesktop::shownWindow(const QByteArray& title) const
{
    auto* connection = m_connection->get();
    const auto tree = xcbOwned(xcb_query_tree_reply(
        connection, xcb_query_tree(connection, m_connection->root()), nullptr));
    if (!tree)
        return 0;
    const xcb_window_t* windows = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = xcbOwned(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, windows[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto name = xcbOwned(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 0, windows[i], XCB_ATOM_WM_NAME,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr));
        if (name && QByteArray(static_cast<const char*>(xcb_get_property_value(name.get())),
                               xcb_get_property_value_length(name.get())) == title)
            return windows[i];
    }
    return 0;
}

bool TestDesktop::skipsTaskbar(const QByteArray& title) const
{
    auto* connection = m_connection->get();
    const auto atoms = internAtoms<2>(connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"});
    const auto states = xcbOwned(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, shownWindow(title), atoms[0], XCB_ATOM_ATOM, 0, 64),
        nullptr));
    if (!states)
        return false;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(states.get()));
    const int count = xcb_get_property_value_length(states.get()) / 4;
    return std::find(values, values + count, atoms[1]) != values + count;
}

void TestDesktop::closeWindow(const QByteArray& title)
{
    auto* connection = m_connection->get();
    const auto atoms = internAtoms<2>(connection, {"WM_PROTOCOLS", "WM_DELETE_WINDOW"});
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = shownWindow(title);
    message.type = atoms[0];
    message.data.data32[0] = atoms[1];
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

bool TestDesktop::keyboardGrabbed() const
{
    auto* connection = m_connection->get();
    const auto grab = xcbOwned(xcb_grab_keyboard_reply(
        connection,
        xcb_grab_keyboard(connection, 0, m_connection->root(), XCB_CURRENT_TIME,
                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr));
    if (grab && grab->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        xcb_flush(connection);
        return false;
    }
    return grab && grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

void TestDesktop::clearClipboard()
{
    auto* connection = m_connection->get();
    xcb_set_selection_owner(connection, XCB_NONE, internAtoms<1>(connection, {"CLIPBOARD"})[0],
                            XCB_CURRENT_TIME);
    m_connection->sync();
}

std::optional<QByteArray> TestDesktop::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!waitUntil([&] { return process.state() == QProcess::NotRunning; },
                   std::chrono::seconds(10))) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

std::optional<QByteArray> TestDesktop::readClipboard(const QByteArray& target)
{
    return run(QStringLiteral("xclip"),
               {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                QStringLiteral("-t"), QString::fromLatin1(target)});
}

} // namespace murmo::test
