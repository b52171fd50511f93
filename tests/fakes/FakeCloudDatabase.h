#pragma once

#include "platform/CloudDatabase.h"
#include "platform/Scheduler.h"

#include <QTemporaryDir>

#include <functional>

// A cloud database in memory that answers after a virtual-time latency. Like a server it keeps
// a version of each record: a save must name the version it fetched, and one made from nothing
// must find no record there.
class FakeCloudDatabase final : public CloudDatabase
{
public:
    // What the database holds for one record; assets as their bytes.
    struct Stored
    {
        QString recordType;
        QMap<QString, CloudValue> fields;
        QMap<QString, QByteArray> assets;
        int version = 0;
    };

    explicit FakeCloudDatabase(Scheduler& scheduler);

    QCoro::Task<AccountStatus> accountStatus() override;
    QCoro::Task<FetchResult> fetchRecord(QString recordName) override;
    QCoro::Task<std::optional<CloudError>> saveRecord(CloudRecord record) override;

    // Another device saves the history record with this payload and these other fields.
    void storeHistory(const QByteArray& payload, QMap<QString, CloudValue> fields = {});
    // The history record's payload as last saved.
    std::optional<QByteArray> historyPayload() const;

    AccountStatus status = AccountStatus::available;
    std::optional<CloudError> fetchError; // every fetch fails with it
    bool assetsUnreadable = false;        // fetched assets name files that are not there
    int conflictsToInject = 0; // saves refused as changed on the server before they are looked at
    std::function<void()> onSave; // runs as a save arrives, before it is judged
    Scheduler::Duration latency{100};
    QMap<QString, Stored> records;
    int statusChecks = 0;
    int fetches = 0;
    int saves = 0;

private:
    Scheduler& m_scheduler;
    QTemporaryDir m_assetDirectory;
};
