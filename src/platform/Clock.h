#pragma once

#include <chrono>

// The current wall-clock time; tests substitute virtual time.
class Clock
{
public:
    using TimePoint = std::chrono::system_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
};
