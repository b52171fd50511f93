#include "fakes/FakeCloudDatabase.h"
#include "fakes/FakeScheduler.h"
#include "fakes/MemoryPreferencesStore.h"
#include "history/HistoryCodec.h"
#include "history/HistoryMerge.h"
#include "history/HistoryStore.h"
#include "preferences/Preferences.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList sentences{
    u"So I was thinking we could move the weekly sync to Thursday afternoon, because most of "
    u"the team is travelling on Monday."_s,
    u"Please remind me to call the dentist tomorrow morning and to pick up the parcel."_s,
    u"Привет, я буду через десять минут, закажи мне, пожалуйста, кофе без сахара."_s,
    u"The quarterly numbers look better than expected; let's share them with finance."_s,
};

// Dictations as the desktop records them, a few seconds apart, newest first.
QList<HistoryItem> dictations(qsizetype count, double newest = 790000000)
{
    QList<HistoryItem> items;
    items.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const QString& text = sentences[i % sentences.size()];
        items.append({QUuid::createUuid(), text, text.toLower(), newest - 37.25 * double(i),
                      u"message"_s, std::nullopt, std::nullopt, std::nullopt, 4.75, u"mac"_s});
    }
    return items;
}

// A store over a history file of `count` records in a fresh folder.
struct StoreOnDisk
{
    explicit StoreOnDisk(qsizetype count)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(HistoryCodec::encode(HistoryBackup{2, 1, dictations(count), {}}).value());
        fileSize = file.size();
    }
    std::unique_ptr<HistoryStore> open()
    {
        return std::make_unique<HistoryStore>(
            HistoryStore::Collaborators{time, time, preferences, cloud, path, directory.path()});
    }

    QTemporaryDir directory;
    QString path = directory.filePath(u"murmo-history.json"_s);
    qint64 fileSize = 0;
    FakeScheduler time;
    MemoryPreferencesStore preferencesStore;
    Preferences preferences{preferencesStore};
    FakeCloudDatabase cloud{time};
};

} // namespace

// The full rewrite that follows every dictation: encoding and the atomic write.
static void BM_SaveHistory(benchmark::State& state)
{
    StoreOnDisk disk(state.range(0));
    const auto store = disk.open();
    for (auto _ : state)
        store->save();
    state.SetBytesProcessed(state.iterations() * disk.fileSize);
    state.counters["file MB"] = double(disk.fileSize) / 1e6;
}
BENCHMARK(BM_SaveHistory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Start-up: reading and decoding the history file.
static void BM_LoadHistory(benchmark::State& state)
{
    StoreOnDisk disk(state.range(0));
    for (auto _ : state) {
        auto store = disk.open();
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * disk.fileSize);
}
BENCHMARK(BM_LoadHistory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Two devices with 10 000 records each, half of them shared (the remote copies edited), and a
// few hundred tombstones on either side: the fold a pull or push does.
static void BM_MergeHistories(benchmark::State& state)
{
    const qsizetype count = state.range(0);
    const QList<HistoryItem> local = dictations(count);
    QList<HistoryItem> remote = dictations(count / 2, 790000000 - 10);
    for (qsizetype i = 0; i < count / 2; ++i) {
        HistoryItem edited = local[2 * i];
        edited.text += u" (edited)"_s;
        remote.append(edited);
    }
    QSet<QUuid> deleted;
    QList<QUuid> remoteDeleted;
    for (qsizetype i = 0; i < count / 50; ++i) {
        deleted.insert(local[25 * i + 1].id);
        remoteDeleted.append(remote[25 * i].id);
    }
    const HistoryBackup document{2, 1, remote, remoteDeleted};
    const QByteArray payload = HistoryCodec::encode(document).value();

    for (auto _ : state)
        benchmark::DoNotOptimize(HistoryMerge::fold(local, deleted, document));
    state.counters["with decoding ms"] = [&] {
        const auto started = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(
            HistoryMerge::fold(local, deleted, HistoryCodec::decodePayload(payload).value()));
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    }();
}
BENCHMARK(BM_MergeHistories)->Arg(10000)->Unit(benchmark::kMillisecond);
