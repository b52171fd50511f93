#include "support/XTestPointer.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/xtest.h>

namespace murmo::test {

XTestPointer::XTestPointer()
    : m_connection(XcbConnection::open())
{
    if (m_connection && !m_connection->hasXTest())
        m_connection.reset();
}

XTestPointer::~XTestPointer() = default;

void XTestPointer::moveTo(QPoint position)
{
    if (!m_connection)
        return;
    xcb_test_fake_input(m_connection->get(), XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME,
                        m_connection->root(), std::int16_t(position.x()),
                        std::int16_t(position.y()), 0);
    m_connection->sync();
}

void XTestPointer::click(int button)
{
    if (!m_connection)
        return;
    for (const auto type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE})
        xcb_test_fake_input(m_connection->get(), type, std::uint8_t(button), XCB_CURRENT_TIME,
                            XCB_NONE, 0, 0, 0);
    m_connection->sync();
}

} // namespace murmo::test
