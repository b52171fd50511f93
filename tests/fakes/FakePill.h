#pragma once

#include "core/StatusPill.h"

#include <optional>

// Remembers whether the pill is on screen.
class FakePill final : public StatusPill
{
public:
    void reposition(bool animated) override { lastRepositionAnimated = animated; }
    void orderFront() override { visible = true; }
    void orderOut() override { visible = false; }

    bool visible = false;
    std::optional<bool> lastRepositionAnimated;
};
