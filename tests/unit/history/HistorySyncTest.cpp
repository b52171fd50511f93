#include "unit/history/HistoryHarness.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class HistorySyncTest : public testing::Test, protected HistoryHarness
{
protected:
    void TearDown() override
    {
        // Tasks still pending wake up to a destroyed store and must end quietly.
        store.reset();
        time.advance(1h);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Long enough for a pull, or a scheduled push with a retry, to finish.
    void settle() { time.advance(HistoryStore::pushDelay + 10 * cloud.latency); }

    HistoryBackup cloudDocument() const
    {
        return HistoryCodec::decodePayload(cloud.historyPayload().value_or(QByteArray()))
            .value_or(HistoryBackup{-1, 0, {}, {}});
    }
};

TEST_F(HistorySyncTest, ABurstOfChangesMakesOnePushAfterTheLastOne)
{
    open();
    const HistoryItem a = record(u"a"_s, 1), b = record(u"b"_s, 2), c = record(u"c"_s, 3);
    dictate(a);
    time.advance(400ms);
    dictate(b);
    time.advance(400ms);
    dictate(c);
    time.advance(HistoryStore::pushDelay - 1ms);
    EXPECT_EQ(cloud.fetches, 0);
    time.advance(1ms);
    EXPECT_EQ(cloud.fetches, 1);
    settle();

    // The first push ever finds no record and makes one.
    EXPECT_EQ(cloud.saves, 1);
    const FakeCloudDatabase::Stored& saved = cloud.records.value(u"murmo-history"_s);
    EXPECT_EQ(saved.recordType, u"History"_s);
    EXPECT_EQ(cloudDocument().history, (QList{c, b, a}));
    const CloudValue modifiedField = saved.fields.value(u"modified"_s);
    const QDateTime* modified = std::get_if<QDateTime>(&modifiedField);
    ASSERT_TRUE(modified);
    // Saved as the push began, once the fetch had come back: 0.8 + 1.5 + 0.1 s after the start.
    EXPECT_EQ(*modified, QDateTime::fromSecsSinceEpoch(1767225600, Qt::UTC).addMSecs(2400));
    EXPECT_TRUE(QDir(staging).isEmpty()) << "the staged upload is gone afterwards";
}

TEST_F(HistorySyncTest, PullFoldsTheCloudInAndPushesWhatOnlyThisSideHad)
{
    const HistoryItem shared = record(u"local words"_s, 200);
    const HistoryItem deletedHere = record(u"deleted here"_s, 150);
    const HistoryItem localOnly = record(u"local only"_s, 100);
    HistoryItem remoteCopy = shared;
    remoteCopy.text = u"remote words"_s;
    const HistoryItem fromPhone = record(u"from the phone"_s, 300);
    const HistoryItem deletedThere = record(u"deleted there"_s, 50);
    writeFile(document({shared, localOnly, deletedThere}, {deletedHere.id}));
    cloud.storeHistory(document({remoteCopy, fromPhone, deletedHere}, {deletedThere.id}));

    HistoryStore& history = open();
    history.pull();
    time.advance(3 * cloud.latency);
    const QList<HistoryItem> merged{fromPhone, shared, localOnly};
    EXPECT_EQ(history.items(), merged) << "newest first, local text kept, tombstones win";
    EXPECT_EQ(fileDocument().history, merged);
    EXPECT_EQ(history.deletedIds(), (QSet<QUuid>{deletedHere.id, deletedThere.id}));

    settle();
    EXPECT_EQ(cloud.saves, 1);
    EXPECT_EQ(cloudDocument().history, merged);
    const QList<QUuid> tombstones = cloudDocument().deleted;
    EXPECT_EQ(QSet<QUuid>(tombstones.cbegin(), tombstones.cend()), history.deletedIds());
}

TEST_F(HistorySyncTest, PullThatBringsNothingNewWritesNothingAndPushesNothing)
{
    const QList<HistoryItem> items{record(u"b"_s, 2), record(u"same time"_s, 1),
                                   record(u"same time too"_s, 1)};
    writeFile(document(items));
    cloud.storeHistory(document({items[2], items[0], items[1]}));
    HistoryStore& history = open();
    const QByteArray before = fileBytes();
    history.pull();
    settle();
    EXPECT_EQ(history.items(), items);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(cloud.saves, 0);
}

TEST_F(HistorySyncTest, PushThatLosesARaceFoldsInTheWinnerAndSavesAgain)
{
    open();
    const HistoryItem mine = record(u"mine"_s, 1);
    const HistoryItem theirs = record(u"theirs"_s, 2);
    cloud.onSave = [&, once = true]() mutable {
        if (std::exchange(once, false))
            cloud.storeHistory(document({theirs}));
    };
    dictate(mine);
    settle();
    EXPECT_EQ(cloud.saves, 2);
    EXPECT_EQ(cloudDocument().history, (QList{theirs, mine}));
    EXPECT_EQ(store->items(), (QList{theirs, mine}));
}

TEST_F(HistorySyncTest, TwoLostRacesInOnePushGiveUpUntilTheNextChange)
{
    open();
    cloud.conflictsToInject = 2;
    dictate(record(u"a"_s, 1));
    time.advance(1h);
    EXPECT_EQ(cloud.saves, 2);
    EXPECT_FALSE(cloud.historyPayload());

    dictate(record(u"b"_s, 2));
    settle();
    EXPECT_EQ(cloudDocument().history.size(), 2);
}

TEST_F(HistorySyncTest, PushThatCannotReadTheCloudCopyLeavesItAlone)
{
    const QByteArray cloudOnly = document({record(u"only in the cloud"_s, 1)});
    cloud.storeHistory(cloudOnly);
    cloud.assetsUnreadable = true;
    open();
    dictate(record(u"a"_s, 2));
    settle();
    EXPECT_EQ(cloud.saves, 0);
    EXPECT_EQ(cloud.historyPayload(), cloudOnly);
}

TEST_F(HistorySyncTest, TokenOfThePhoneIsAdoptedAndFieldsOfOthersSurviveAPush)
{
    preferences.setToken(u"desktop"_s);
    const ForeignCloudValue foreign{R"({"type":"number","value":7})"};
    cloud.storeHistory(document({}), {{u"token"_s, u"phone"_s}, {u"other"_s, foreign}});
    HistoryStore& history = open();
    history.pull();
    time.advance(3 * cloud.latency);
    EXPECT_EQ(preferences.token(), u"phone"_s);

    cloud.storeHistory(document({}), {{u"token"_s, QString()}, {u"other"_s, foreign}});
    dictate(record(u"a"_s, 1));
    settle();
    EXPECT_EQ(preferences.token(), u"phone"_s) << "an empty token is not adopted";
    const auto& fields = cloud.records.value(u"murmo-history"_s).fields;
    ASSERT_TRUE(std::holds_alternative<QString>(fields.value(u"token"_s)));
    EXPECT_EQ(std::get<QString>(fields.value(u"token"_s)), QString());
    ASSERT_TRUE(std::holds_alternative<ForeignCloudValue>(fields.value(u"other"_s)));
    EXPECT_EQ(std::get<ForeignCloudValue>(fields.value(u"other"_s)).encoded, foreign.encoded);
}

TEST_F(HistorySyncTest, WithoutAnAccountPullStopsAtTheStatusAndPushAtTheFetch)
{
    cloud.status = CloudDatabase::AccountStatus::noAccount;
    cloud.fetchError = CloudError{CloudError::Code::notAuthenticated, u"no account"_s};
    cloud.storeHistory(document({record(u"unseen"_s, 1)}));
    HistoryStore& history = open();
    history.pull();
    dictate(record(u"a"_s, 2));
    settle();
    EXPECT_EQ(cloud.statusChecks, 1);
    EXPECT_EQ(cloud.fetches, 1);
    EXPECT_EQ(cloud.saves, 0);
    EXPECT_EQ(history.items().size(), 1);
}

TEST_F(HistorySyncTest, OtherFetchFailuresStillSaveAFreshRecord)
{
    cloud.fetchError = CloudError{CloudError::Code::networkFailure, u"offline"_s};
    open();
    dictate(record(u"a"_s, 1));
    settle();
    EXPECT_EQ(cloud.saves, 1);
}

TEST_F(HistorySyncTest, StoreClosedDuringAPushEndsItQuietly)
{
    open();
    dictate(record(u"a"_s, 1));
    time.advance(HistoryStore::pushDelay);
    ASSERT_EQ(cloud.fetches, 1);
    store.reset();
    time.advance(1h);
    EXPECT_EQ(cloud.saves, 0);
}

} // namespace
