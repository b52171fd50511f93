#include "fakes/FakeCloudDatabase.h"

#include "core/Sleep.h"

#include <QFile>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {
const QString historyRecord = u"murmo-history"_s;
} // namespace

FakeCloudDatabase::FakeCloudDatabase(Scheduler& scheduler)
    : m_scheduler(scheduler)
{}

QCoro::Task<CloudDatabase::AccountStatus> FakeCloudDatabase::accountStatus()
{
    ++statusChecks;
    co_await Sleep(m_scheduler, latency);
    co_return status;
}

QCoro::Task<CloudDatabase::FetchResult> FakeCloudDatabase::fetchRecord(QString recordName)
{
    ++fetches;
    co_await Sleep(m_scheduler, latency);
    if (fetchError)
        co_return *fetchError;
    const auto found = records.constFind(recordName);
    if (found == records.constEnd())
        co_return CloudError{CloudError::Code::unknownItem, u"no such record"_s};

    CloudRecord record{found->recordType, recordName, found->fields,
                       QString::number(found->version)};
    for (auto asset = found->assets.cbegin(); asset != found->assets.cend(); ++asset) {
        auto file = std::make_shared<QTemporaryFile>(m_assetDirectory.filePath(u"asset"_s));
        file->open();
        file->write(asset.value());
        file->close();
        const QString path = assetsUnreadable ? file->fileName() + u".gone"_s : file->fileName();
        record.fields.insert(asset.key(), CloudAsset{path, file});
    }
    co_return record;
}

QCoro::Task<std::optional<CloudError>> FakeCloudDatabase::saveRecord(CloudRecord record)
{
    ++saves;
    co_await Sleep(m_scheduler, latency);
    if (onSave)
        onSave();
    const auto found = records.constFind(record.recordName);
    const std::optional<QString> current =
        found == records.constEnd() ? std::nullopt : std::optional(QString::number(found->version));
    if (conflictsToInject > 0 || record.changeTag != current) {
        conflictsToInject = std::max(0, conflictsToInject - 1);
        co_return CloudError{CloudError::Code::serverRecordChanged, u"record changed"_s};
    }

    Stored stored{record.recordType, {}, {}, found == records.constEnd() ? 1 : found->version + 1};
    for (auto field = record.fields.cbegin(); field != record.fields.cend(); ++field) {
        if (const auto* asset = std::get_if<CloudAsset>(&field.value())) {
            QFile file(asset->filePath);
            file.open(QIODevice::ReadOnly);
            stored.assets.insert(field.key(), file.readAll());
        } else {
            stored.fields.insert(field.key(), field.value());
        }
    }
    records.insert(record.recordName, stored);
    co_return std::nullopt;
}

void FakeCloudDatabase::storeHistory(const QByteArray& payload, QMap<QString, CloudValue> fields)
{
    Stored& stored = records[historyRecord];
    stored.recordType = u"History"_s;
    stored.fields = std::move(fields);
    stored.assets = {{u"payload"_s, payload}};
    ++stored.version;
}

std::optional<QByteArray> FakeCloudDatabase::historyPayload() const
{
    const auto found = records.constFind(historyRecord);
    if (found == records.constEnd() || !found->assets.contains(u"payload"_s))
        return std::nullopt;
    return found->assets.value(u"payload"_s);
}
