#include "platform/linux/X11AccessibilityTrust.h"

#include "platform/linux/XcbConnection.h"

#include <QDesktopServices>
#include <QUrl>

X11AccessibilityTrust::X11AccessibilityTrust()
{
    const auto connection = XcbConnection::open();
    m_trusted = connection && connection->hasXTest() && connection->xinputOpcode();
}

void X11AccessibilityTrust::requestAccessibility()
{
    QUrl readme(QStringLiteral(MURMO_README_URL));
    readme.setFragment(QStringLiteral("permissions"));
    QDesktopServices::openUrl(readme);
}
