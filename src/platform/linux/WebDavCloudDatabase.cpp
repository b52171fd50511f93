#include "platform/linux/WebDavCloudDatabase.h"

#include "platform/linux/CloudRecordDocument.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

#include <QCoroNetworkReply>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Asks for the least the server can answer with: whether the collection is one.
const QByteArray propfindBody = R"(<?xml version="1.0" encoding="utf-8"?>)"
                                R"(<d:propfind xmlns:d="DAV:"><d:prop><d:resourcetype/>)"
                                R"(</d:prop></d:propfind>)"_ba;

CloudError notConfigured()
{
    return {CloudError::Code::notAuthenticated, u"No cloud folder is set."_s};
}

CloudError errorFor(int status, const QString& transportError)
{
    using Code = CloudError::Code;
    if (status == 0)
        return {Code::networkFailure, transportError};
    const QString description = u"The cloud folder answered with HTTP status %1."_s.arg(status);
    switch (status) {
    case 401:
        return {Code::notAuthenticated, description};
    case 403:
        return {Code::permissionFailure, description};
    case 404:
        return {Code::unknownItem, description};
    case 412:
        return {Code::serverRecordChanged, description};
    case 507:
        return {Code::quotaExceeded, description};
    default:
        return {status >= 500 ? Code::serviceUnavailable : Code::serverRejectedRequest,
                description};
    }
}

bool succeeded(int status)
{
    return status >= 200 && status < 300;
}

struct DeleteLater
{
    // Progress signals must not reach the finished request's handlers.
    void operator()(QObject* object) const
    {
        object->disconnect();
        object->deleteLater();
    }
};

} // namespace

WebDavCloudDatabase::WebDavCloudDatabase(QNetworkAccessManager& network, Scheduler& scheduler,
                                         std::optional<WebDavCollection> collection,
                                         QString assetDirectory)
    : m_network(network)
    , m_scheduler(scheduler)
    , m_collection(std::move(collection))
    , m_assetDirectory(std::move(assetDirectory))
{}

QUrl WebDavCloudDatabase::recordUrl(const QString& recordName) const
{
    const QString file =
        QString::fromLatin1(QUrl::toPercentEncoding(recordName)) + u".record.json"_s;
    return m_collection->url.resolved(QUrl(file));
}

QCoro::Task<CloudDatabase::AccountStatus> WebDavCloudDatabase::accountStatus()
{
    if (!m_collection)
        co_return AccountStatus::noAccount;
    Headers headers{{"Depth"_ba, "0"_ba}, {"Content-Type"_ba, "application/xml"_ba}};
    const Response response =
        co_await send("PROPFIND"_ba, m_collection->url, std::move(headers), propfindBody);
    if (response.status == 207)
        co_return AccountStatus::available;
    co_return response.status == 0 ? AccountStatus::temporarilyUnavailable
                                   : AccountStatus::noAccount;
}

QCoro::Task<CloudDatabase::FetchResult> WebDavCloudDatabase::fetchRecord(QString recordName)
{
    if (!m_collection)
        co_return notConfigured();
    const Response response = co_await send("GET"_ba, recordUrl(recordName), {});
    if (response.status != 200)
        co_return errorFor(response.status, response.error);
    auto record = CloudRecordDocument::decode(response.body, m_assetDirectory);
    if (!record)
        co_return CloudError{
            CloudError::Code::serverRejectedRequest,
            u"The cloud record \"%1\" is not a record document."_s.arg(recordName)};
    record->recordName = recordName;
    // Without an ETag the save can only insist that the record still exists.
    record->changeTag = response.etag.isEmpty() ? u"*"_s : QString::fromLatin1(response.etag);
    co_return std::move(*record);
}

QCoro::Task<std::optional<CloudError>> WebDavCloudDatabase::saveRecord(CloudRecord record)
{
    if (!m_collection)
        co_return notConfigured();
    const auto document = CloudRecordDocument::encode(record);
    if (!document)
        co_return CloudError{CloudError::Code::serverRejectedRequest,
                             u"A file attached to the cloud record could not be read."_s};
    const Headers headers{{"Content-Type"_ba, "application/json"_ba},
                          record.changeTag ? std::pair("If-Match"_ba, record.changeTag->toLatin1())
                                           : std::pair("If-None-Match"_ba, "*"_ba)};
    const QUrl url = recordUrl(record.recordName);
    Response response = co_await send("PUT"_ba, url, headers, *document);
    if (response.status == 409) {
        // The collection itself is missing: make it, once, and save again.
        const Response made = co_await send("MKCOL"_ba, m_collection->url, {});
        if (made.status == 201)
            response = co_await send("PUT"_ba, url, headers, *document);
    }
    if (succeeded(response.status))
        co_return std::nullopt;
    co_return errorFor(response.status, response.error);
}

QCoro::Task<WebDavCloudDatabase::Response>
WebDavCloudDatabase::send(QByteArray verb, QUrl url, Headers headers, QByteArray body)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    if (!m_collection->user.isEmpty()) {
        const QByteArray login = (m_collection->user + u':' + m_collection->password).toUtf8();
        request.setRawHeader("Authorization"_ba, "Basic "_ba + login.toBase64());
    }
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);

    const std::unique_ptr<QNetworkReply, DeleteLater> reply(
        m_network.sendCustomRequest(request, verb, body));
    bool timedOut = false;
    TimerHandle timeout;
    const auto restartTimeout = [&, replyPointer = QPointer<QNetworkReply>(reply.get())] {
        timeout = m_scheduler.runAfter(inactivityTimeout, [&, replyPointer] {
            timedOut = true;
            if (replyPointer)
                replyPointer->abort();
        });
    };
    restartTimeout();
    QObject::connect(reply.get(), &QNetworkReply::uploadProgress, reply.get(), restartTimeout);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(), restartTimeout);
    co_await reply.get();

    Response response;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !timedOut) {
        response.status = status.toInt();
        response.body = reply->readAll();
        response.etag = reply->rawHeader("ETag"_ba);
    } else {
        response.error =
            timedOut ? u"The cloud folder did not answer in time."_s : reply->errorString();
    }
    co_return response;
}
