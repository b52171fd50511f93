#pragma once

#include "history/DictationHistory.h"
#include "history/HistoryBackup.h"
#include "platform/TimerHandle.h"

#include <QList>
#include <QObject>
#include <QSet>

#include <QCoroTask>

#include <chrono>
#include <optional>

class Clock;
class CloudDatabase;
class Preferences;
class Scheduler;
struct CloudAsset;
struct CloudRecord;
namespace HistoryMerge {
struct Result;
}

// The history of dictations: the live records, newest first, and the tombstones of records
// deleted anywhere. Every change is written to the history file whole; with cloud sync on, the
// same document is mirrored to one record of the user's cloud database, which other devices
// fold into their own history. Belongs to the main thread.
class HistoryStore : public QObject, public DictationHistory
{
    Q_OBJECT
    Q_PROPERTY(QList<HistoryItem> items READ items NOTIFY itemsChanged)

public:
    struct Collaborators
    {
        Clock& clock;
        Scheduler& scheduler;
        Preferences& preferences;
        CloudDatabase& cloud;
        QString filePath;         // the history file; its folder is made when missing
        QString stagingDirectory; // only this user may enter it: uploads are staged there
    };

    // A burst of changes produces one push, this long after the last of them.
    static constexpr std::chrono::milliseconds pushDelay{1500};

    // Loads the history file. Nothing is sent or fetched until asked.
    explicit HistoryStore(const Collaborators& collaborators, QObject* parent = nullptr);
    ~HistoryStore() override;

    // $XDG_DATA_HOME/Murmo/murmo-history.json
    static QString defaultFilePath();

    // The one store of the process, for what is made on demand (windows) and cannot be handed
    // it. The composition root installs it; tests build their own and leave this alone.
    static HistoryStore& shared();
    static void installShared(HistoryStore* store);

    const QList<HistoryItem>& items() const { return m_items; }
    const QSet<QUuid>& deletedIds() const { return m_deleted; }

    // Nothing here reports a failure: an unwritable file leaves the history in memory (and in
    // the cloud) until a later save succeeds.
    void prepend(const HistoryItem& item) override;
    void save() override;
    // Removes every record with this id and keeps the id as a tombstone, also when no record
    // had it, so that other devices drop the record too. The id is a copy: callers often pass
    // the id of a record in `items`, which the removal overwrites.
    void remove(QUuid id);

    bool isCloudSyncEnabled() const;
    void pull() override;
    void schedulePush() override;

Q_SIGNALS:
    void itemsChanged();

private:
    // What stands at the history file's path, as far as writing it is concerned.
    enum class FileState
    {
        writable,    // absent, or read
        undecodable, // to be set aside, bytes kept, before a new document replaces it
        unopenable,  // never overwritten while it cannot be read
    };

    void load();
    bool readyToWrite();
    bool setUnreadableFileAside();
    HistoryBackup currentDocument() const;
    void apply(HistoryMerge::Result&& merged);
    bool merge(const QByteArray& bytes);
    void adoptToken(const CloudRecord& record);
    std::optional<CloudAsset> stagePayload() const;
    QCoro::Task<> runPull();
    QCoro::Task<> push();

    Clock& m_clock;
    Scheduler& m_scheduler;
    Preferences& m_preferences;
    CloudDatabase& m_cloud;
    QString m_filePath;
    QString m_stagingDirectory;
    QList<HistoryItem> m_items;
    QSet<QUuid> m_deleted;
    FileState m_fileState = FileState::writable;
    TimerHandle m_pushTask;
};
