#pragma once

#include "platform/CloudDatabase.h"
#include "platform/Scheduler.h"
#include "platform/linux/WebDavCollection.h"

#include <QList>
#include <QNetworkRequest>

#include <chrono>
#include <optional>
#include <utility>

class QNetworkAccessManager;

// The cloud database as a WebDAV collection (RFC 4918): each record is one JSON document,
// fetched with GET and saved with one PUT. The ETag of the fetch makes the save conditional
// (If-Match), and a record never fetched is only created (If-None-Match: *), so a save that
// would overwrite another device's fails with `serverRecordChanged` instead.
class WebDavCloudDatabase final : public CloudDatabase
{
public:
    // How long a request may go without any progress.
    static constexpr std::chrono::seconds inactivityTimeout{30};

    // Without a collection there is no account: nothing is ever sent. Fetched assets are kept
    // in `assetDirectory`, which only this user may enter.
    WebDavCloudDatabase(QNetworkAccessManager& network, Scheduler& scheduler,
                        std::optional<WebDavCollection> collection, QString assetDirectory);

    QCoro::Task<AccountStatus> accountStatus() override;
    QCoro::Task<FetchResult> fetchRecord(QString recordName) override;
    QCoro::Task<std::optional<CloudError>> saveRecord(CloudRecord record) override;

private:
    struct Response
    {
        int status = 0; // 0 when no HTTP answer came
        QByteArray body;
        QByteArray etag;
        QString error;
    };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    QCoro::Task<Response> send(QByteArray verb, QUrl url, Headers headers, QByteArray body = {});
    QUrl recordUrl(const QString& recordName) const;

    QNetworkAccessManager& m_network;
    Scheduler& m_scheduler;
    std::optional<WebDavCollection> m_collection;
    QString m_assetDirectory;
};
