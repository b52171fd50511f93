#include "platform/linux/X11KeyRepeat.h"

X11KeyRepeat::X11KeyRepeat(Scheduler& scheduler, std::function<void(int xKeycode)> repeat)
    : m_scheduler(scheduler)
    , m_repeat(std::move(repeat))
{}

void X11KeyRepeat::pressed(int xKeycode, bool repeats)
{
    // A key that does not repeat, such as a modifier, leaves the repeating key repeating.
    if (!repeats || !m_settings.enabled || m_settings.interval <= Scheduler::Duration::zero())
        return;
    m_key = xKeycode;
    m_timer = m_scheduler.runAfter(m_settings.delay, [this] { repeatNow(); });
}

void X11KeyRepeat::released(int xKeycode)
{
    if (xKeycode != m_key)
        return;
    m_timer.cancel();
    m_key = 0;
}

void X11KeyRepeat::repeatNow()
{
    m_timer = m_scheduler.runAfter(m_settings.interval, [this] { repeatNow(); });
    m_repeat(m_key);
}
