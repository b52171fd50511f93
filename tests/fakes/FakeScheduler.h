#pragma once

#include "platform/Clock.h"
#include "platform/Scheduler.h"

#include <cstdint>
#include <map>
#include <memory>

// Virtual time for tests: the clock stands still until advance() moves it, running every
// callback that falls due on the way, in order of due time and then of scheduling.
class FakeScheduler final : public Clock, public Scheduler
{
public:
    static constexpr TimePoint defaultStart{std::chrono::seconds{1767225600}}; // 2026-01-01 UTC

    explicit FakeScheduler(TimePoint start = defaultStart);

    TimePoint now() const override { return m_now; }
    TimerHandle runAfter(Duration delay, std::function<void()> callback) override;
    TimerHandle runEvery(Duration interval, std::function<void()> callback) override;

    void advance(Duration duration);
    // Runs what is due now without moving time.
    void runDue() { advance(Duration::zero()); }
    std::size_t pendingCount() const { return m_entries->size(); }

private:
    struct Entry
    {
        TimePoint due;
        Duration interval; // zero for a one-shot callback
        std::function<void()> callback;
    };
    using Entries = std::map<std::uint64_t, Entry>;

    TimerHandle add(Duration delay, Duration interval, std::function<void()> callback);
    Entries::iterator nextDue(TimePoint limit);

    TimePoint m_now;
    std::uint64_t m_nextId = 0;
    std::shared_ptr<Entries> m_entries = std::make_shared<Entries>();
};
