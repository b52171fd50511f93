#pragma once

#include "platform/AccessibilityTrust.h"

#include <QUrl>

// On X11 any client may watch keys and post keystrokes when the server offers the extensions
// for it: XTest and XInput 2.1. They cannot come or go while the server runs, so the answer is
// settled once.
class X11AccessibilityTrust final : public AccessibilityTrust
{
public:
    // `help`: the README's section on permissions, which says what a desktop without those
    // extensions (a Wayland session without XWayland) needs instead.
    explicit X11AccessibilityTrust(QUrl help = {});
    bool isTrusted() const override { return m_trusted; }
    // Nothing can be granted on X11: this opens the help.
    void requestAccessibility() override;

private:
    QUrl m_help;
    bool m_trusted;
};
