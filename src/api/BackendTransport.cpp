#include "api/BackendTransport.h"

#include "api/OneShotBody.h"

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

// Qt gives up with ContentReSendError when the connection ended without a valid reply and it
// would have had to send the request again: the peer took the request and did not answer in HTTP.
bool isNotHttp(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ProtocolUnknownError &&
            error <= QNetworkReply::ProtocolFailure) ||
           error == QNetworkReply::ContentReSendError;
}

HttpReply classify(QNetworkReply& reply, bool timedOut)
{
    if (timedOut)
        return {HttpReply::Kind::transportError, 0, {}, u"The request timed out."_s};
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !isConnectionLevel(reply.error()))
        return {HttpReply::Kind::http, status.toInt(), reply.readAll(), {}};
    if (isNotHttp(reply.error()))
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
    const QByteArray body = request.body.value_or(QByteArray());
    QNetworkRequest http(request.url);
    http.setHeader(QNetworkRequest::ContentTypeHeader, "application/json"_ba);
    // Unbuffered, with its length known, the one-shot body is streamed, not copied into a
    // rewindable buffer.
    http.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    http.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    if (request.bearerToken)
        http.setRawHeader("Authorization", "Bearer " + request.bearerToken->toUtf8());
    // Every request gets a fresh connection, so none meets a kept-alive one the server has
    // already dropped, the one case where sending again would be harmless.
    http.setRawHeader("Connection", "close");
    http.setAttribute(QNetworkRequest::Http2AllowedAttribute, false); // streams share a connection
    // A redirect would carry the token to wherever the reply points; it is an answer like any
    // other.
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                      QNetworkRequest::ManualRedirectPolicy);

    auto* upload = new OneShotBody(body);
    const std::unique_ptr<QNetworkReply, DeleteLater> reply(m_network.post(http, upload));
    upload->setParent(reply.get());
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
