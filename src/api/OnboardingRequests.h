#pragma once

#include "api/InviteResult.h"

#include <QString>

#include <QCoroTask>

#include <optional>

// The backend requests of the first-run flow.
class OnboardingRequests
{
public:
    virtual ~OnboardingRequests() = default;

    // Tells the backend onboarding is finished; never fails visibly.
    virtual QCoro::Task<> reportOnboarded(std::optional<QString> source) = 0;
    // Never fails: network and server trouble come back as `failed`.
    virtual QCoro::Task<InviteResult> sendInvite(QString email) = 0;
};
