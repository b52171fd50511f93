#pragma once

#include "nudge/NudgeStarter.h"
#include "platform/AccessibilityTrust.h"
#include "platform/ActivationPolicy.h"
#include "platform/Pasteboard.h"

#include <QString>

#include <optional>

// The small desktop services of the controller, recorded in one place.
class FakeDesktop final : public AccessibilityTrust,
                          public Pasteboard,
                          public ActivationPolicy,
                          public NudgeStarter
{
public:
    bool isTrusted() const override { return trusted; }
    void setPlainText(const QString& text) override { clipboard = text; }
    void setMode(Mode m) override { mode = m; }
    void start() override { ++nudgeStarts; }

    bool trusted = true;
    std::optional<QString> clipboard;
    std::optional<Mode> mode;
    int nudgeStarts = 0;
};
