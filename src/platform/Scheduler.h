#pragma once

#include "platform/TimerHandle.h"

#include <chrono>
#include <functional>

// Runs callbacks later on the main thread. Every delay, timeout and repeating timer of the
// program goes through here so that tests can run in virtual time.
class Scheduler
{
public:
    using Duration = std::chrono::milliseconds;

    virtual ~Scheduler() = default;
    [[nodiscard]] virtual TimerHandle runAfter(Duration delay, std::function<void()> callback) = 0;
    [[nodiscard]] virtual TimerHandle runEvery(Duration interval,
                                               std::function<void()> callback) = 0;
};
