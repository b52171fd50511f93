#pragma once

#include "api/ApiError.h"
#include "api/BackendTransport.h"
#include "api/DictationBackend.h"
#include "api/Insights.h"
#include "api/InsightsError.h"
#include "api/InviteResult.h"
#include "api/OnboardingRequests.h"

#include <QStringList>
#include <QUrl>

#include <optional>
#include <variant>

class Preferences;
class UserAccount;

// The application's only client of the backend: registration, dictation and the account and
// analysis requests. Its lasting state (device id, token) lives in the preferences.
class BackendClient final : public DictationBackend, public OnboardingRequests
{
public:
    using Response = DictationResponse;
    using Failure = ApiFailure;
    using InsightsResult = std::variant<Insights, InsightsError, ApiError>;
    using SummaryResult = std::variant<QString, ApiError>;

    BackendClient(BackendTransport& transport, Preferences& preferences, const UserAccount& account,
                  const QUrl& baseUrl);
    ~BackendClient() override;

    // The one client of the process, for what is made on demand (windows) and cannot be handed
    // it. The composition root installs it; tests build their own and leave this alone.
    static BackendClient& shared();
    static void installShared(BackendClient* client);

    QCoro::Task<> registerInstallation() override;
    QCoro::Task<DictateResult> dictate(QByteArray audio, QString ext, bool retry) override;

    QCoro::Task<> reportOnboarded(std::optional<QString> source) override;
    QCoro::Task<InviteResult> sendInvite(QString email) override;
    QCoro::Task<InsightsResult> fetchInsights(QStringList samples);
    QCoro::Task<SummaryResult> fetchSummary(QStringList texts, QString period);

    const QUrl dictateURL;
    const QUrl registerURL;
    const QUrl onboardedURL;
    const QUrl inviteURL;
    const QUrl insightsURL;
    const QUrl summaryURL;

private:
    // The stored token, registering first when there is none; empty when none could be had.
    QCoro::Task<QString> acquireToken();
    QByteArray dictationBody(const QByteArray& audio, const QString& ext) const;
    QByteArray inviteBody(const QString& email) const;

    BackendTransport& m_transport;
    Preferences& m_preferences;
    const UserAccount& m_account;
};
