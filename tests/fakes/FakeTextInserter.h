#pragma once

#include "core/Sleep.h"
#include "core/TextInserter.h"

// Pretends to paste: waits like the real insertion, then answers as scripted.
class FakeTextInserter final : public TextInserter
{
public:
    explicit FakeTextInserter(Scheduler& scheduler)
        : m_scheduler(scheduler)
    {}

    QCoro::Task<InsertOutcome> insertText(QString text, std::stop_token stop) override
    {
        texts.append(text);
        waitCutShort = !co_await Sleep(m_scheduler, Scheduler::Duration{150}, stop);
        co_return outcome;
    }

    InsertOutcome outcome = InsertOutcome::inserted();
    QStringList texts;
    bool waitCutShort = false;

private:
    Scheduler& m_scheduler;
};
