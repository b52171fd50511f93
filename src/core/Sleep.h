#pragma once

#include "platform/Scheduler.h"

#include <coroutine>
#include <functional>
#include <optional>
#include <stop_token>

// Awaitable pause on the Scheduler: `bool elapsed = co_await Sleep(scheduler, 1400ms, stop);`.
// A stop request ends the pause early, on a fresh turn of the event loop so the requester
// finishes what it is doing first; the result is then false.
class Sleep
{
public:
    Sleep(Scheduler& scheduler, Scheduler::Duration delay, std::stop_token stop = {});
    // Movable only before it is awaited, as coroutine machinery may pass it along.
    Sleep(Sleep&& other) noexcept;
    Sleep(const Sleep&) = delete;
    Sleep& operator=(const Sleep&) = delete;

    bool await_ready() const noexcept { return m_stop.stop_requested(); }
    void await_suspend(std::coroutine_handle<> waiter);
    bool await_resume() const noexcept { return m_elapsed; }

private:
    Scheduler& m_scheduler;
    Scheduler::Duration m_delay;
    std::stop_token m_stop;
    bool m_elapsed = false;
    TimerHandle m_timer;
    std::optional<std::stop_callback<std::function<void()>>> m_onStop;
};
