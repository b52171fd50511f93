#pragma once

#include "core/Sleep.h"
#include "platform/Pasteboard.h"

// A clipboard in memory. Reads take `readLatency` of virtual time, like asking another
// application; writes are counted.
class FakePasteboard final : public Pasteboard
{
public:
    explicit FakePasteboard(Scheduler& scheduler)
        : m_scheduler(scheduler)
    {}

    void setItem(const PasteboardItem& item) override
    {
        current = item;
        ++writes;
    }
    QCoro::Task<PasteboardItem> snapshot() override
    {
        co_await Sleep(m_scheduler, readLatency);
        co_return current;
    }
    QCoro::Task<std::optional<QString>> plainText() override
    {
        co_await Sleep(m_scheduler, readLatency);
        co_return current.plainText();
    }

    PasteboardItem current;
    int writes = 0;
    Scheduler::Duration readLatency{5};

private:
    Scheduler& m_scheduler;
};
