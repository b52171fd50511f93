#pragma once

#include "input/HoldKeySource.h"

// Lets a test press and release the hold key.
class FakeHoldKeySource final : public HoldKeySource
{
public:
    void setHotkey(Hotkey key) override { hotkey = key; }
    void setCallbacks(Callbacks c) override { callbacks = std::move(c); }
    std::optional<QString> start() override
    {
        ++starts;
        return std::nullopt;
    }
    void stop() override { ++stops; }

    void press() { callbacks.onHoldBegan(); }
    void release() { callbacks.onHoldEnded(); }
    void interrupt() { callbacks.onInterrupted(); }

    Hotkey hotkey = Hotkeys::fallback;
    Callbacks callbacks;
    int starts = 0;
    int stops = 0;
};
