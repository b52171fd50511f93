#pragma once

#include "platform/Scheduler.h"

#include <chrono>
#include <functional>

// The X server sends no raw event for the auto-repeats of a held key, so they are made here from
// the keyboard's repeat settings, the way the server makes them for the focused window: only the
// key pressed last repeats, first after a delay, then at an interval, until it is released.
class X11KeyRepeat
{
public:
    struct Settings
    {
        bool enabled = true;
        std::chrono::milliseconds delay{660};
        std::chrono::milliseconds interval{40};
    };

    X11KeyRepeat(Scheduler& scheduler, std::function<void(int xKeycode)> repeat);

    // Takes effect with the next key pressed.
    void setSettings(const Settings& settings) { m_settings = settings; }
    // `repeats`: whether the keyboard map lets this key repeat (modifiers do not).
    void pressed(int xKeycode, bool repeats);
    void released(int xKeycode);

private:
    void repeatNow();

    Scheduler& m_scheduler;
    std::function<void(int)> m_repeat;
    Settings m_settings;
    int m_key = 0; // the key repeating or about to, 0 for none
    TimerHandle m_timer;
};
