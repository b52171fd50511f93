#include "api/BackendTransport.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

#include <QCoroNetworkReply>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct DeleteLater
{
    // Progress signals must not reach the finished request's handlers.
    void operator()(QObject* object) const
    {
        object->disconnect();
        object->deleteLater();
    }
};

// Qt's error codes below 100 are the connection failing; codes above describe what an HTTP
// status said (Qt even files a 400 under "protocol"), so with a status they are an answer.
bool isConnectionLevel(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && error < QNetworkReply::ProxyConnectionRefusedError;
}

bool isProtocolLevel(QNetworkReply::NetworkError error)
{
    return error >= QNetworkReply::ProtocolUnknownError && error <= QNetworkReply::ProtocolFailure;
}

HttpReply classify(QNetworkReply& reply, bool timedOut)
{
    if (timedOut)
        return {HttpReply::Kind::transportError, 0, {}, u"The request timed out."_s};
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !isConnectionLevel(reply.error()))
        return {HttpReply::Kind::http, status.toInt(), reply.readAll(), {}};
    if (isProtocolLevel(reply.error()))
        return {HttpReply::Kind::notHttp, 0, {}, reply.errorString()};
    return {HttpReply::Kind::transportError, 0, {}, reply.errorString()};
}

} // namespace

BackendTransport::BackendTransport(QNetworkAccessManager& network, Scheduler& scheduler)
    : m_network(network)
    , m_scheduler(scheduler)
{}

QCoro::Task<HttpReply> BackendTransport::post(Request request)
{
    QNetworkRequest http(request.url);
    http.setHeader(QNetworkRequest::ContentTypeHeader, "application/json"_ba);
    if (request.bearerToken)
        http.setRawHeader("Authorization", "Bearer " + request.bearerToken->toUtf8());

    const std::unique_ptr<QNetworkReply, DeleteLater> reply(
        m_network.post(http, request.body.value_or(QByteArray())));
    bool timedOut = false;
    TimerHandle timeout;
    const auto restartTimeout = [&, replyPointer = QPointer<QNetworkReply>(reply.get())] {
        timeout = m_scheduler.runAfter(request.timeout, [&, replyPointer] {
            timedOut = true;
            if (replyPointer)
                replyPointer->abort();
        });
    };
    restartTimeout();
    QObject::connect(reply.get(), &QNetworkReply::uploadProgress, reply.get(), restartTimeout);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(), restartTimeout);

    co_await reply.get();
    co_return classify(*reply, timedOut);
}
