#pragma once

#include "nudge/NudgeStarter.h"
#include "platform/AccessibilityTrust.h"
#include "platform/ActivationPolicy.h"
#include "platform/SecureInput.h"

#include <optional>

// The small desktop services of the controller, recorded in one place.
class FakeDesktop final : public AccessibilityTrust,
                          public SecureInput,
                          public ActivationPolicy,
                          public NudgeStarter
{
public:
    bool isTrusted() const override { return trusted; }
    void requestAccessibility() override { ++accessibilityRequests; }
    bool isEnabled() override { return secureInput; }
    void setMode(Mode m) override { mode = m; }
    void start() override { ++nudgeStarts; }

    bool trusted = true;
    int accessibilityRequests = 0;
    bool secureInput = false;
    std::optional<Mode> mode;
    int nudgeStarts = 0;
};
