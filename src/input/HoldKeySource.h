#pragma once

#include "preferences/Hotkey.h"

#include <QString>

#include <functional>
#include <optional>

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
    // A change during a hold ends it, as releasing the key would.
    virtual void setHotkey(Hotkey hotkey) = 0;
    virtual void setCallbacks(Callbacks callbacks) = 0;
    // (Re)starts watching; forgets any hold in progress. Fails, saying why in words for the user,
    // when the desktop offers no way to watch keys at all.
    virtual std::optional<QString> start() = 0;
    virtual void stop() = 0;
};
