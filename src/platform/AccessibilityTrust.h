#pragma once

// Whether the process may watch global keys and post synthetic keystrokes.
class AccessibilityTrust
{
public:
    virtual ~AccessibilityTrust() = default;
    virtual bool isTrusted() const = 0;
};
