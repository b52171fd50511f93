#include "platform/linux/SystemClock.h"

Clock::TimePoint SystemClock::now() const
{
    return std::chrono::system_clock::now();
}
