#include "platform/linux/X11AccessibilityTrust.h"

#include "platform/linux/XcbConnection.h"

#include <QDesktopServices>
#include <QUrl>

X11AccessibilityTrust::X11AccessibilityTrust(QUrl help)
    : m_help(std::move(help))
{
    const auto connection = XcbConnection::open();
    m_trusted = connection && connection->hasXTest() && connection->xinputOpcode();
}

void X11AccessibilityTrust::requestAccessibility()
{
    if (m_help.isValid())
        QDesktopServices::openUrl(m_help);
}
