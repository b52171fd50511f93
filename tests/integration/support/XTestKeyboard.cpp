#include "support/XTestKeyboard.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/xtest.h>

namespace murmo::test {

XTestKeyboard::XTestKeyboard()
    : m_connection(XcbConnection::open())
{
    if (m_connection && !m_connection->hasXTest())
        m_connection.reset();
}

XTestKeyboard::~XTestKeyboard()
{
    for (const int xKeycode : std::set(m_held))
        release(xKeycode);
}

void XTestKeyboard::press(int xKeycode)
{
    send(true, xKeycode);
    m_held.insert(xKeycode);
}

void XTestKeyboard::release(int xKeycode)
{
    send(false, xKeycode);
    m_held.erase(xKeycode);
}

void XTestKeyboard::send(bool press, int xKeycode)
{
    if (!m_connection)
        return;
    xcb_test_fake_input(m_connection->get(), press ? XCB_KEY_PRESS : XCB_KEY_RELEASE,
                        static_cast<std::uint8_t>(xKeycode), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    // The key is down (or up) in the server before the caller goes on.
    m_connection->sync();
}

} // namespace murmo::test
