#pragma once

#include "platform/Scheduler.h"

// Scheduler on the Qt event loop of the calling (main) thread.
class QtScheduler final : public Scheduler
{
public:
    TimerHandle runAfter(Duration delay, std::function<void()> callback) override;
    TimerHandle runEvery(Duration interval, std::function<void()> callback) override;

private:
    static TimerHandle start(Duration interval, bool singleShot, std::function<void()> callback);
};
