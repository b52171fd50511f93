#include "history/HistoryStore.h"

#include "files/ReadWholeFile.h"
#include "history/HistoryCodec.h"
#include "history/HistoryMerge.h"
#include "history/HistoryTime.h"
#include "platform/CloudDatabase.h"
#include "platform/Scheduler.h"
#include "preferences/Preferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cassert>

using namespace Qt::StringLiterals;

namespace {

const QString recordName = u"murmo-history"_s;
const QString recordType = u"History"_s;
const QString payloadField = u"payload"_s;
const QString modifiedField = u"modified"_s;
const QString tokenField = u"token"_s;

HistoryStore* sharedStore = nullptr;

enum class FileRead
{
    absent,
    unopenable,
    undecodable,
    decoded,
};

FileRead readHistoryFile(const QString& path, HistoryBackup& document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink() ? FileRead::unopenable : FileRead::absent;
    }
    const qint64 size = file.size();
    QByteArray bytes;
    bytes.reserve(size + HistoryCodec::spareCapacity);
    bytes.resize(size);
    if (file.read(bytes.data(), size) != size)
        return FileRead::unopenable;
    auto decoded = HistoryCodec::decode(bytes);
    if (!decoded)
        return FileRead::undecodable;
    document = std::move(*decoded);
    return FileRead::decoded;
}

QDateTime utc(Clock::TimePoint time)
{
    using namespace std::chrono;
    return QDateTime::fromMSecsSinceEpoch(
        duration_cast<milliseconds>(time.time_since_epoch()).count(), Qt::UTC);
}

} // namespace

HistoryStore::HistoryStore(const Collaborators& c, QObject* parent)
    : QObject(parent)
    , m_clock(c.clock)
    , m_scheduler(c.scheduler)
    , m_preferences(c.preferences)
    , m_cloud(c.cloud)
    , m_filePath(c.filePath)
    , m_stagingDirectory(c.stagingDirectory)
{
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    load();
}

HistoryStore::~HistoryStore()
{
    if (sharedStore == this)
        sharedStore = nullptr;
}

QString HistoryStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/Murmo/murmo-history.json"_s;
}

HistoryStore& HistoryStore::shared()
{
    assert(sharedStore && "the composition root installs the history store at start-up");
    return *sharedStore;
}

void HistoryStore::installShared(HistoryStore* store)
{
    sharedStore = store;
}

void HistoryStore::load()
{
    HistoryBackup document;
    switch (readHistoryFile(m_filePath, document)) {
    case FileRead::absent:
        return;
    case FileRead::unopenable:
        m_fileState = FileState::unopenable;
        return;
    case FileRead::undecodable:
        m_fileState = FileState::undecodable;
        return;
    case FileRead::decoded:
        m_items = std::move(document.history);
        m_deleted = QSet<QUuid>(document.deleted.cbegin(), document.deleted.cend());
        return;
    }
}

// A file that could not be decoded is kept under another name; one that could not even be
// opened stays untouched until it can be read, and is then folded in before it is replaced.
bool HistoryStore::readyToWrite()
{
    switch (m_fileState) {
    case FileState::writable:
        return true;
    case FileState::undecodable:
        return setUnreadableFileAside();
    case FileState::unopenable:
        break;
    }
    HistoryBackup document;
    switch (readHistoryFile(m_filePath, document)) {
    case FileRead::unopenable:
        return false;
    case FileRead::undecodable:
        m_fileState = FileState::undecodable;
        return setUnreadableFileAside();
    case FileRead::decoded:
        if (auto merged = HistoryMerge::fold(m_items, m_deleted, document))
            apply(std::move(*merged));
        break;
    case FileRead::absent:
        break;
    }
    m_fileState = FileState::writable;
    return true;
}

bool HistoryStore::setUnreadableFileAside()
{
    const QFileInfo file(m_filePath);
    const QString stamp = utc(m_clock.now()).toString(u"yyyyMMdd'T'HHmmss'Z'"_s);
    const QString stem = file.dir().filePath(file.completeBaseName() + u".unreadable-"_s + stamp);
    QString aside = stem + u".json"_s;
    for (int n = 2; QFileInfo(aside).exists(); ++n)
        aside = stem + u'-' + QString::number(n) + u".json"_s;
    if (!QFile::rename(m_filePath, aside))
        return false;
    m_fileState = FileState::writable;
    return true;
}

HistoryBackup HistoryStore::currentDocument() const
{
    return {HistoryBackup::currentVersion, HistoryTime::fromTimePoint(m_clock.now()), m_items,
            m_deleted.values()};
}

void HistoryStore::prepend(const HistoryItem& item)
{
    m_items.prepend(item);
    Q_EMIT itemsChanged();
}

void HistoryStore::save()
{
    if (!readyToWrite())
        return;
    const auto bytes = HistoryCodec::encode(currentDocument());
    if (!bytes)
        return;
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(*bytes);
    file.commit();
}

void HistoryStore::remove(QUuid id)
{
    if (m_items.removeIf([&](const HistoryItem& item) { return item.id == id; }) > 0)
        Q_EMIT itemsChanged();
    m_deleted.insert(id);
    save();
    schedulePush();
}

void HistoryStore::apply(HistoryMerge::Result&& merged)
{
    m_items = std::move(merged.items);
    m_deleted = std::move(merged.deleted);
    Q_EMIT itemsChanged();
}

bool HistoryStore::merge(const QByteArray& bytes)
{
    const auto document = HistoryCodec::decodePayload(bytes);
    if (!document)
        return false;
    auto merged = HistoryMerge::fold(m_items, m_deleted, *document);
    if (!merged)
        return false;
    apply(std::move(*merged));
    save();
    return true;
}

bool HistoryStore::isCloudSyncEnabled() const
{
    return m_preferences.icloudSync();
}

void HistoryStore::adoptToken(const CloudRecord& record)
{
    const QString* token = record.field<QString>(tokenField);
    if (token && !token->isEmpty() && *token != m_preferences.token())
        m_preferences.setToken(*token);
}

void HistoryStore::pull()
{
    if (isCloudSyncEnabled())
        runPull();
}

QCoro::Task<> HistoryStore::runPull()
{
    const QPointer<HistoryStore> self(this);
    const CloudDatabase::AccountStatus status = co_await m_cloud.accountStatus();
    if (!self || status != CloudDatabase::AccountStatus::available)
        co_return;
    const CloudDatabase::FetchResult fetched = co_await m_cloud.fetchRecord(recordName);
    const CloudRecord* record = std::get_if<CloudRecord>(&fetched);
    if (!self || !record)
        co_return;
    adoptToken(*record);
    const CloudAsset* payload = record->field<CloudAsset>(payloadField);
    if (const auto bytes = payload ? readWholeFile(payload->filePath) : std::nullopt;
        bytes && merge(*bytes))
        schedulePush(); // what only this side had goes up too
}

void HistoryStore::schedulePush()
{
    if (!isCloudSyncEnabled())
        return;
    m_pushTask = m_scheduler.runAfter(pushDelay, [this] {
        // Sync may have been switched off while the push waited.
        if (isCloudSyncEnabled())
            push();
    });
}

std::optional<CloudAsset> HistoryStore::stagePayload() const
{
    const auto bytes = HistoryCodec::encode(currentDocument());
    if (!bytes || m_stagingDirectory.isEmpty())
        return std::nullopt;
    auto file =
        std::make_shared<QTemporaryFile>(m_stagingDirectory + u"/murmo-cloud-XXXXXX.json"_s);
    if (!file->open() || file->write(*bytes) != bytes->size() || !file->flush())
        return std::nullopt;
    file->close();
    return CloudAsset{file->fileName(), file};
}

// Saves the fetched record itself, so fields written elsewhere (the phone's token among them)
// stay as they are. When another device saved in between, its copy is fetched and folded in
// once more; a second conflict in a row ends the push until the next change.
QCoro::Task<> HistoryStore::push()
{
    const QPointer<HistoryStore> self(this);
    for (int attempt = 0; attempt < 2; ++attempt) {
        CloudDatabase::FetchResult fetched = co_await m_cloud.fetchRecord(recordName);
        if (!self)
            co_return;
        CloudRecord record{recordType, recordName, {}, std::nullopt};
        if (auto* existing = std::get_if<CloudRecord>(&fetched)) {
            record = std::move(*existing);
            if (const CloudAsset* payload = record.field<CloudAsset>(payloadField)) {
                // Saving over a copy we could not read would drop what only the cloud has.
                const auto bytes = readWholeFile(payload->filePath);
                if (!bytes)
                    co_return;
                merge(*bytes);
            }
            adoptToken(record);
        } else if (std::get<CloudError>(fetched).code == CloudError::Code::notAuthenticated) {
            co_return; // no cloud account: a save could not succeed either
        }
        const auto payload = stagePayload();
        if (!payload)
            co_return;
        record.fields.insert(payloadField, *payload);
        record.fields.insert(modifiedField, utc(m_clock.now()));
        const std::optional<CloudError> error = co_await m_cloud.saveRecord(std::move(record));
        if (!self || !error || error->code != CloudError::Code::serverRecordChanged)
            co_return;
    }
}
