#pragma once

#include "api/DictationBackend.h"
#include "core/Sleep.h"

#include <deque>

// A backend that answers each dictation from a script after a virtual-time latency.
class FakeDictationBackend final : public DictationBackend
{
public:
    explicit FakeDictationBackend(Scheduler& scheduler)
        : m_scheduler(scheduler)
    {}

    QCoro::Task<> registerInstallation() override
    {
        ++registrations;
        co_return;
    }

    QCoro::Task<DictateResult> dictate(QByteArray audio, QString ext, bool retry) override
    {
        ++dictations;
        lastAudio = audio;
        lastExt = ext;
        lastRetry = retry;
        co_await Sleep(m_scheduler, latency);
        DictateResult reply =
            replies.empty() ? DictateResult(DictationResponse{}) : replies.front();
        if (!replies.empty())
            replies.pop_front();
        co_return reply;
    }

    void reply(DictationResponse response) { replies.push_back(std::move(response)); }
    void fail(ApiError error) { replies.push_back(std::move(error)); }

    Scheduler::Duration latency{1000};
    std::deque<DictateResult> replies;
    int registrations = 0;
    int dictations = 0;
    QByteArray lastAudio;
    QString lastExt;
    bool lastRetry = false;

private:
    Scheduler& m_scheduler;
};
