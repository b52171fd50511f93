#include "platform/linux/XTestInjectionMarker.h"

XTestInjectionMarker::XTestInjectionMarker(const Clock& clock)
    : m_clock(clock)
{}

void XTestInjectionMarker::markInjecting(int keyEvents, std::chrono::milliseconds span)
{
    m_remaining += keyEvents;
    m_until = m_clock.now() + span;
}

bool XTestInjectionMarker::claim()
{
    if (m_remaining == 0 || m_clock.now() >= m_until) {
        m_remaining = 0;
        return false;
    }
    --m_remaining;
    return true;
}
