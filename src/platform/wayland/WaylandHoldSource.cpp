#include "platform/wayland/WaylandHoldSource.h"

#include <utility>

namespace {

// By value: a callback may replace the callbacks while it runs.
void call(std::function<void()> callback)
{
    if (callback)
        callback();
}

} // namespace

WaylandHoldSource::WaylandHoldSource(Scheduler& scheduler, HoldKeySource* keys)
    : m_scheduler(scheduler)
    , m_keys(keys)
{
    if (!m_keys)
        return;
    const auto forward = [self = std::weak_ptr(m_self)](void (WaylandHoldSource::*event)()) {
        return [self, event] {
            if (const auto source = self.lock())
                ((*source)->*event)();
        };
    };
    m_keys->setCallbacks({
        .onHoldBegan = forward(&WaylandHoldSource::holdBegan),
        .onHoldEnded = forward(&WaylandHoldSource::holdEnded),
        .onInterrupted = forward(&WaylandHoldSource::interrupted),
    });
}

WaylandHoldSource::~WaylandHoldSource()
{
    stop();
}

void WaylandHoldSource::setHotkey(Hotkey hotkey)
{
    if (m_keys)
        m_keys->setHotkey(hotkey);
    // The key watcher ends its own hold; one begun from outside ends too, as the interface
    // promises, since the key it was begun with no longer counts.
    if (m_holding) {
        finish();
        call(m_callbacks.onHoldEnded);
    }
}

std::optional<QString> WaylandHoldSource::start()
{
    stop();
    m_started = true;
    if (m_keys)
        return m_keys->start();
    return std::nullopt;
}

void WaylandHoldSource::stop()
{
    if (m_keys)
        m_keys->stop();
    m_started = false;
    finish();
}

void WaylandHoldSource::holdBegan()
{
    if (!m_started || m_holding)
        return;
    m_holding = true;
    m_limit = m_scheduler.runAfter(holdLimit, [this] { holdEnded(); });
    call(m_callbacks.onHoldBegan);
}

void WaylandHoldSource::holdEnded()
{
    if (!m_holding)
        return;
    finish();
    call(m_callbacks.onHoldEnded);
}

void WaylandHoldSource::interrupted()
{
    if (!m_holding)
        return;
    finish();
    call(m_callbacks.onInterrupted);
}

void WaylandHoldSource::finish()
{
    m_holding = false;
    m_limit.cancel();
}
