#pragma once

#include "preferences/Hotkey.h"

#include <functional>

// Turns presses of the hold key anywhere on the desktop into hold events.
class HoldKeySource
{
public:
    struct Callbacks
    {
        std::function<void()> onHoldBegan;
        std::function<void()> onHoldEnded;
        std::function<void()> onInterrupted;
    };

    virtual ~HoldKeySource() = default;
    virtual void setHotkey(Hotkey hotkey) = 0;
    virtual void setCallbacks(Callbacks callbacks) = 0;
    // (Re)starts watching; forgets any hold in progress.
    virtual void start() = 0;
    virtual void stop() = 0;
};
