#pragma once

#include "fakes/FakeCloudDatabase.h"
#include "fakes/FakeScheduler.h"
#include "fakes/MemoryPreferencesStore.h"
#include "history/HistoryCodec.h"
#include "history/HistoryStore.h"
#include "preferences/Preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::StringLiterals;

// A history store on a history file in a temporary folder (made on first use, like the real
// one), with preferences in memory, a fake cloud and virtual time.
class HistoryHarness
{
public:
    HistoryHarness() { QDir().mkpath(staging); }

    HistoryStore& open()
    {
        store = std::make_unique<HistoryStore>(
            HistoryStore::Collaborators{time, time, preferences, cloud, filePath, staging});
        return *store;
    }

    QByteArray fileBytes() const
    {
        QFile file(filePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    HistoryBackup fileDocument() const
    {
        return HistoryCodec::decode(fileBytes()).value_or(HistoryBackup{-1, 0, {}, {}});
    }
    void writeFile(const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(filePath).absolutePath());
        QFile file(filePath);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }

    static HistoryItem record(const QString& text, double createdAt, QUuid id = QUuid::createUuid())
    {
        return {id,           text,         text + u" (raw)"_s, createdAt, std::nullopt,
                std::nullopt, std::nullopt, std::nullopt,       2.5,       u"mac"_s};
    }
    static QByteArray document(const QList<HistoryItem>& items, const QList<QUuid>& deleted = {})
    {
        return HistoryCodec::encode(HistoryBackup{2, 1, items, deleted}).value();
    }
    // A dictation as the controller records it.
    void dictate(const HistoryItem& item)
    {
        store->prepend(item);
        store->save();
        store->schedulePush();
    }

    FakeScheduler time;
    MemoryPreferencesStore preferencesStore;
    Preferences preferences{preferencesStore};
    FakeCloudDatabase cloud{time};
    QTemporaryDir directory;
    QString filePath = directory.filePath(u"data/Murmo/murmo-history.json"_s);
    QString staging = directory.filePath(u"runtime"_s);
    std::unique_ptr<HistoryStore> store;
};
