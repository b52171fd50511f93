#pragma once

// Whether the process may watch global keys and post synthetic keystrokes.
class AccessibilityTrust
{
public:
    virtual ~AccessibilityTrust() = default;
    virtual bool isTrusted() const = 0;
    // Shows the user how to grant the trust; the caller polls isTrusted() afterwards.
    virtual void requestAccessibility() = 0;
};
