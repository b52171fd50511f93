#pragma once

#include "platform/Clock.h"

#include <chrono>

// Our own XTest keystrokes, announced by whoever posts them. Key monitors leave them out, so our
// own paste does not look like typing; other XTest keystrokes (other tools, tests) count like
// any key.
class XTestInjectionMarker
{
public:
    explicit XTestInjectionMarker(const Clock& clock);

    // The next `keyEvents` XTest presses and releases are ours, if they come back within `span`
    // (after that the mark lapses, so a keystroke the server dropped cannot hide the user's).
    void markInjecting(int keyEvents, std::chrono::milliseconds span);
    // Takes one XTest key event as ours; false when none is announced.
    bool claim();

private:
    const Clock& m_clock;
    int m_remaining = 0;
    Clock::TimePoint m_until;
};
