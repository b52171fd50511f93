#pragma once

#include "platform/AccessibilityTrust.h"

// On X11 any client may watch keys and post keystrokes when the server offers the extensions
// for it: XTest and XInput 2.1. They cannot come or go while the server runs, so the answer is
// settled once.
class X11AccessibilityTrust final : public AccessibilityTrust
{
public:
    X11AccessibilityTrust();
    bool isTrusted() const override { return m_trusted; }
    // Nothing can be granted on X11; the README's section on permissions says what a desktop
    // without those extensions (a Wayland session without XWayland) needs instead.
    void requestAccessibility() override;

private:
    bool m_trusted;
};
