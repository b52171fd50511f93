#include "core/Sleep.h"

Sleep::Sleep(Scheduler& scheduler, Scheduler::Duration delay, std::stop_token stop)
    : m_scheduler(scheduler)
    , m_delay(delay)
    , m_stop(std::move(stop))
{}

Sleep::Sleep(Sleep&& other) noexcept
    : m_scheduler(other.m_scheduler)
    , m_delay(other.m_delay)
    , m_stop(std::move(other.m_stop))
{}

void Sleep::await_suspend(std::coroutine_handle<> waiter)
{
    m_timer = m_scheduler.runAfter(m_delay, [this, waiter] {
        m_elapsed = true;
        m_onStop.reset();
        waiter.resume(); // may destroy *this; nothing after it may touch members
    });
    m_onStop.emplace(m_stop, [this, waiter] {
        m_timer = m_scheduler.runAfter(Scheduler::Duration::zero(), [waiter] { waiter.resume(); });
    });
}
