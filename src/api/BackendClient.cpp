#include "api/BackendClient.h"

#include "api/ApiJson.h"
#include "platform/UserAccount.h"
#include "preferences/Preferences.h"
#include "text/Graphemes.h"
#include "text/Trimming.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <cassert>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr auto registerTimeout = 15s;
constexpr auto dictateTimeout = 240s;
constexpr auto onboardedTimeout = 15s;
constexpr auto inviteTimeout = 25s;
constexpr auto analysisTimeout = 60s;
constexpr qsizetype styleLimit = 600;
constexpr qsizetype fromNameLimit = 60;

QUrl endpoint(const QUrl& base, const QString& path)
{
    QUrl url = base;
    QString basePath = url.path();
    while (basePath.endsWith(u'/'))
        basePath.chop(1);
    url.setPath(basePath + path);
    return url;
}

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Built outside the coroutine bodies: GCC 12 miscompiles some braced initialisers inside them.
BackendTransport::Request request(const QUrl& url, std::optional<QByteArray> body,
                                  std::optional<QString> token, std::chrono::seconds timeout)
{
    return {url, std::move(body), std::move(token), timeout};
}

ApiError failure(ApiFailure failure)
{
    return ApiError::fromFailure(failure);
}

BackendClient* sharedClient = nullptr;

} // namespace

BackendClient::BackendClient(BackendTransport& transport, Preferences& preferences,
                             const UserAccount& account, const QUrl& baseUrl)
    : dictateURL(endpoint(baseUrl, u"/api/dictate"_s))
    , registerURL(endpoint(baseUrl, u"/api/register"_s))
    , onboardedURL(endpoint(baseUrl, u"/api/onboarded"_s))
    , inviteURL(endpoint(baseUrl, u"/api/invite"_s))
    , insightsURL(endpoint(baseUrl, u"/api/insights"_s))
    , summaryURL(endpoint(baseUrl, u"/api/summary"_s))
    , m_transport(transport)
    , m_preferences(preferences)
    , m_account(account)
{}

BackendClient::~BackendClient()
{
    if (sharedClient == this)
        sharedClient = nullptr;
}

BackendClient& BackendClient::shared()
{
    assert(sharedClient && "the composition root installs the backend client at start-up");
    return *sharedClient;
}

void BackendClient::installShared(BackendClient* client)
{
    sharedClient = client;
}

QCoro::Task<> BackendClient::registerInstallation()
{
    if (!m_preferences.token().isEmpty())
        co_return;
    QString device = m_preferences.device();
    if (device.isEmpty()) {
        device = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        m_preferences.setDevice(device);
    }
    const QByteArray body = compact({{u"device"_s, device}});
    const HttpReply reply =
        co_await m_transport.post(request(registerURL, body, std::nullopt, registerTimeout));
    if (reply.kind != HttpReply::Kind::http || reply.status != 200)
        co_return;
    if (const std::optional<QString> token = ApiJson::registrationToken(reply.body))
        m_preferences.setToken(*token);
}

QCoro::Task<QString> BackendClient::acquireToken()
{
    if (m_preferences.token().isEmpty())
        co_await registerInstallation();
    co_return m_preferences.token();
}

QByteArray BackendClient::dictationBody(const QByteArray& audio, const QString& ext) const
{
    QJsonObject body{{u"audio"_s, QString::fromLatin1(audio.toBase64())}, {u"ext"_s, ext}};
    const QString lang = m_preferences.speakLang().toLower();
    if (Graphemes::count(lang) == 2)
        body.insert(u"lang"_s, lang);
    const QString style = m_preferences.style().trimmed();
    if (!style.isEmpty())
        body.insert(u"style"_s, Graphemes::left(style, styleLimit));
    return compact(body);
}

QCoro::Task<DictateResult> BackendClient::dictate(QByteArray audio, QString ext, bool retry)
{
    const QString token = co_await acquireToken();
    if (token.isEmpty())
        co_return failure(ApiFailure::noToken);

    const HttpReply reply = co_await m_transport.post(
        request(dictateURL, dictationBody(audio, ext), token, dictateTimeout));
    switch (reply.kind) {
    case HttpReply::Kind::transportError:
        co_return ApiError::transportError(reply.error);
    case HttpReply::Kind::notHttp:
        co_return failure(ApiFailure::server);
    case HttpReply::Kind::http:
        break;
    }
    if (reply.status == 200) {
        ApiJson::Decoded<DictationResponse> decoded = ApiJson::dictationResponse(reply.body);
        if (const auto* error = std::get_if<ApiJson::DecodeError>(&decoded))
            co_return ApiError::decodingError(error->message);
        co_return std::get<DictationResponse>(std::move(decoded));
    }
    if (reply.status == 401 && retry) {
        // The backend forgot us: register afresh (same device id) and try exactly once more.
        m_preferences.setToken(QString());
        co_await registerInstallation();
        co_return co_await dictate(std::move(audio), std::move(ext), false);
    }
    co_return failure(reply.status == 422 ? ApiFailure::noSpeech : ApiFailure::server);
}

QCoro::Task<> BackendClient::reportOnboarded(std::optional<QString> source)
{
    const QString token = co_await acquireToken();
    if (token.isEmpty())
        co_return;
    std::optional<QByteArray> body;
    if (source && !source->isEmpty())
        body = compact({{u"source"_s, *source}});
    co_await m_transport.post(request(onboardedURL, std::move(body), token, onboardedTimeout));
}

QByteArray BackendClient::inviteBody(const QString& email) const
{
    QJsonObject body{{u"email"_s, email}};
    const QString fromName = trimmedOfSpacesAndTabs(m_account.fullName());
    if (!fromName.isEmpty())
        body.insert(u"fromName"_s, Graphemes::left(fromName, fromNameLimit));
    return compact(body);
}

QCoro::Task<InviteResult> BackendClient::sendInvite(QString email)
{
    const QString token = co_await acquireToken();
    if (token.isEmpty())
        co_return InviteResult::failed;
    const HttpReply reply =
        co_await m_transport.post(request(inviteURL, inviteBody(email), token, inviteTimeout));
    if (reply.kind != HttpReply::Kind::http)
        co_return InviteResult::failed;
    switch (reply.status) {
    case 200:
        co_return InviteResult::sent;
    case 400:
        co_return InviteResult::invalid;
    case 429:
        co_return InviteResult::rateLimited;
    default:
        co_return InviteResult::failed;
    }
}

QCoro::Task<BackendClient::InsightsResult> BackendClient::fetchInsights(QStringList samples)
{
    const QString token = co_await acquireToken();
    if (token.isEmpty())
        co_return failure(ApiFailure::noToken);
    const QByteArray body = compact({{u"samples"_s, QJsonArray::fromStringList(samples)}});
    const HttpReply reply =
        co_await m_transport.post(request(insightsURL, body, token, analysisTimeout));
    if (reply.kind == HttpReply::Kind::transportError)
        co_return ApiError::transportError(reply.error);
    if (reply.kind == HttpReply::Kind::notHttp)
        co_return InsightsError::failed;
    if (reply.status == 422)
        co_return InsightsError::notEnoughData;
    if (reply.status != 200)
        co_return InsightsError::failed;
    if (std::optional<Insights> insights = ApiJson::insights(reply.body))
        co_return std::move(*insights);
    co_return InsightsError::badResponse;
}

QCoro::Task<BackendClient::SummaryResult> BackendClient::fetchSummary(QStringList texts,
                                                                      QString period)
{
    const QString token = co_await acquireToken();
    if (token.isEmpty())
        co_return failure(ApiFailure::noToken);
    const QByteArray body =
        compact({{u"texts"_s, QJsonArray::fromStringList(texts)}, {u"period"_s, period}});
    const HttpReply reply =
        co_await m_transport.post(request(summaryURL, body, token, analysisTimeout));
    if (reply.kind == HttpReply::Kind::transportError)
        co_return ApiError::transportError(reply.error);
    if (reply.kind == HttpReply::Kind::notHttp || reply.status != 200)
        co_return failure(ApiFailure::server);
    ApiJson::Decoded<QString> decoded = ApiJson::summary(reply.body);
    if (const auto* error = std::get_if<ApiJson::DecodeError>(&decoded))
        co_return ApiError::decodingError(error->message);
    co_return std::get<QString>(std::move(decoded));
}
