#pragma once

#include <functional>
#include <utility>

// Owns one scheduled callback. Cancelling, or dropping the handle, stops the callback from
// running; both are harmless once it has run.
class TimerHandle
{
public:
    TimerHandle() = default;
    explicit TimerHandle(std::function<void()> cancel)
        : m_cancel(std::move(cancel))
    {}
    TimerHandle(TimerHandle&& other) noexcept
        : m_cancel(std::exchange(other.m_cancel, {}))
    {}
    TimerHandle& operator=(TimerHandle&& other) noexcept
    {
        if (this != &other) {
            cancel();
            m_cancel = std::exchange(other.m_cancel, {});
        }
        return *this;
    }
    TimerHandle(const TimerHandle&) = delete;
    TimerHandle& operator=(const TimerHandle&) = delete;
    ~TimerHandle() { cancel(); }

    void cancel()
    {
        if (auto cancel = std::exchange(m_cancel, {}))
            cancel();
    }

private:
    std::function<void()> m_cancel;
};
