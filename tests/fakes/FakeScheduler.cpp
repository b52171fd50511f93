#include "fakes/FakeScheduler.h"

#include <cassert>

FakeScheduler::FakeScheduler(TimePoint start)
    : m_now(start)
{}

TimerHandle FakeScheduler::runAfter(Duration delay, std::function<void()> callback)
{
    return add(delay, Duration::zero(), std::move(callback));
}

TimerHandle FakeScheduler::runEvery(Duration interval, std::function<void()> callback)
{
    assert(interval > Duration::zero());
    return add(interval, interval, std::move(callback));
}

TimerHandle FakeScheduler::add(Duration delay, Duration interval, std::function<void()> callback)
{
    const std::uint64_t id = m_nextId++;
    m_entries->emplace(
        id, Entry{m_now + std::max(delay, Duration::zero()), interval, std::move(callback)});
    return TimerHandle([entries = std::weak_ptr<Entries>(m_entries), id] {
        if (auto alive = entries.lock())
            alive->erase(id);
    });
}

FakeScheduler::Entries::iterator FakeScheduler::nextDue(TimePoint limit)
{
    // Ids grow with scheduling order, so the first minimum found is also the earliest scheduled.
    auto best = m_entries->end();
    for (auto it = m_entries->begin(); it != m_entries->end(); ++it) {
        if (it->second.due <= limit &&
            (best == m_entries->end() || it->second.due < best->second.due))
            best = it;
    }
    return best;
}

void FakeScheduler::advance(Duration duration)
{
    const TimePoint target = m_now + duration;
    for (auto it = nextDue(target); it != m_entries->end(); it = nextDue(target)) {
        m_now = std::max(m_now, it->second.due);
        std::function<void()> callback;
        if (it->second.interval > Duration::zero()) {
            it->second.due += it->second.interval;
            callback = it->second.callback; // the entry may be cancelled from inside
        } else {
            callback = std::move(it->second.callback);
            m_entries->erase(it);
        }
        callback();
    }
    m_now = target;
}
