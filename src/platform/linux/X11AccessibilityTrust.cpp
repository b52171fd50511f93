#include "platform/linux/X11AccessibilityTrust.h"

#include "platform/linux/XcbConnection.h"

X11AccessibilityTrust::X11AccessibilityTrust()
{
    const auto connection = XcbConnection::open();
    m_trusted = connection && connection->hasXTest() && connection->xinputOpcode();
}
