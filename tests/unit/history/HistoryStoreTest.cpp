#include "unit/history/HistoryHarness.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class HistoryStoreTest : public testing::Test, protected HistoryHarness
{
protected:
    QStringList filesBesideHistory() const
    {
        return QFileInfo(filePath).dir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
};

TEST_F(HistoryStoreTest, FirstLaunchStartsEmptyAndTheFirstDictationWritesThePrivateFile)
{
    HistoryStore& history = open();
    EXPECT_TRUE(QFileInfo(filePath).dir().exists()) << "folder made at start";
    EXPECT_TRUE(history.items().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(filePath));

    const HistoryItem first = record(u"first"_s, 100);
    dictate(first);
    EXPECT_TRUE(fileBytes().endsWith(R"(,"deleted":[]})"));
    EXPECT_EQ(fileDocument().version, 2);
    EXPECT_EQ(fileDocument().history, QList{first});
    EXPECT_EQ(QFileInfo(filePath).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser);

    const HistoryItem second = record(u"second"_s, 200);
    dictate(second);
    EXPECT_EQ(open().items(), (QList{second, first})) << "newest first, as reopened";
}

TEST_F(HistoryStoreTest, UndecodableFileIsSetAsideWithItsBytesBeforeANewOneIsWritten)
{
    const QByteArray damaged =
        R"({"version":2,"exportedAt":1,"history":[{"id":"6F1C2A3B-9D4E-4F5A-8B6C-7D8E9F0A1B2C",)"
        R"("text":"no raw","createdAt":1}]})";
    writeFile(damaged);
    HistoryStore& history = open();
    EXPECT_TRUE(history.items().isEmpty());
    EXPECT_EQ(fileBytes(), damaged) << "untouched until something is saved";

    const HistoryItem fresh = record(u"fresh"_s, 100);
    dictate(fresh);
    EXPECT_EQ(fileDocument().history, QList{fresh});
    const QString aside = u"murmo-history.unreadable-20260101T000000Z.json"_s;
    EXPECT_EQ(filesBesideHistory(), (QStringList{u"murmo-history.json"_s, aside}));
    QFile kept(QFileInfo(filePath).dir().filePath(aside));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
}

// A directory stands in for a file that exists but cannot be opened (permissions do not stop
// a test running as root).
TEST_F(HistoryStoreTest, FileThatCannotBeOpenedIsKeptAndFoldedInOnceItCanBeRead)
{
    QDir().mkpath(filePath);
    HistoryStore& history = open();
    EXPECT_TRUE(history.items().isEmpty());

    const HistoryItem whileBlocked = record(u"while blocked"_s, 200);
    dictate(whileBlocked);
    EXPECT_TRUE(QFileInfo(filePath).isDir()) << "neither replaced nor moved";
    EXPECT_EQ(filesBesideHistory(), QStringList{u"murmo-history.json"_s});
    EXPECT_EQ(history.items(), QList{whileBlocked}) << "kept in memory meanwhile";

    QDir(filePath).removeRecursively();
    const HistoryItem older = record(u"older"_s, 100);
    writeFile(document({older}));
    const HistoryItem later = record(u"later"_s, 300);
    dictate(later);
    EXPECT_EQ(fileDocument().history, (QList{later, whileBlocked, older}));
    EXPECT_EQ(history.items(), (QList{later, whileBlocked, older}));
}

TEST_F(HistoryStoreTest, DeleteRemovesEveryCopyAndKeepsTheTombstone)
{
    const HistoryItem kept = record(u"kept"_s, 200);
    const HistoryItem doomed = record(u"doomed"_s, 100);
    HistoryItem copy = doomed;
    copy.text = u"a copy"_s;
    writeFile(document({copy, kept, doomed}));
    HistoryStore& history = open();

    history.remove(history.items().first().id); // as a view passes it: a record's own id
    EXPECT_EQ(history.items(), QList{kept});
    EXPECT_EQ(fileDocument().history, QList{kept});
    EXPECT_EQ(fileDocument().deleted, QList{doomed.id});

    const QUuid unknown = QUuid::createUuid();
    history.remove(unknown);
    EXPECT_EQ(history.items(), QList{kept});
    const QList<QUuid> tombstones = fileDocument().deleted;
    EXPECT_EQ(QSet<QUuid>(tombstones.cbegin(), tombstones.cend()),
              (QSet<QUuid>{doomed.id, unknown}));
    time.advance(HistoryStore::pushDelay + cloud.latency * 2);
    EXPECT_EQ(cloud.saves, 1) << "the tombstones go up too";
}

TEST_F(HistoryStoreTest, WithSyncOffNothingIsScheduledAndTheCloudIsNeverAsked)
{
    preferences.setIcloudSync(false);
    HistoryStore& history = open();
    const HistoryItem item = record(u"local only"_s, 100);
    dictate(item);
    history.remove(QUuid::createUuid());
    history.pull();
    EXPECT_EQ(fileDocument().history, QList{item});
    EXPECT_EQ(time.pendingCount(), 0u);
    time.advance(1h);
    EXPECT_EQ(cloud.statusChecks + cloud.fetches + cloud.saves, 0);
}

} // namespace
