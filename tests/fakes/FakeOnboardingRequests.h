#pragma once

#include "api/OnboardingRequests.h"
#include "core/Sleep.h"

#include <QStringList>

#include <deque>

// Records the onboarding's requests and answers invitations after a virtual-time latency.
class FakeOnboardingRequests final : public OnboardingRequests
{
public:
    explicit FakeOnboardingRequests(Scheduler& scheduler)
        : m_scheduler(scheduler)
    {}

    QCoro::Task<> reportOnboarded(std::optional<QString> source) override
    {
        reports.push_back(source);
        co_return;
    }

    QCoro::Task<InviteResult> sendInvite(QString email) override
    {
        invites.append(email);
        co_await Sleep(m_scheduler, latency);
        const InviteResult result = results.empty() ? InviteResult::sent : results.front();
        if (!results.empty())
            results.pop_front();
        co_return result;
    }

    Scheduler::Duration latency{500};
    std::deque<InviteResult> results;
    std::vector<std::optional<QString>> reports;
    QStringList invites;

private:
    Scheduler& m_scheduler;
};
