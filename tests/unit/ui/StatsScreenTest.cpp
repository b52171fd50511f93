#include "ui/StatsScreen.h"

#include "fakes/ApiClientHarness.h"
#include "fakes/FakeLanguageTagger.h"
#include "fakes/ScriptedHttpServer.h"
#include "history/HistoryTime.h"
#include "platform/linux/IcuWordTokenizer.h"
#include "stats/StatsEngine.h"
#include "unit/history/HistoryHarness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr QByteArrayView insightsPath = "/api/insights";
constexpr QByteArrayView summaryPath = "/api/summary";

} // namespace

class StatsScreenTest : public testing::Test
{
protected:
    StatsScreenTest() { backend.preferences.setToken(u"token"_s); }

    // Records `ago` before the test's now, newest first as the store keeps them.
    HistoryItem record(const QString& text, std::chrono::hours ago)
    {
        return HistoryHarness::record(text, HistoryTime::fromTimePoint(history.time.now() - ago));
    }

    void open(const QList<HistoryItem>& items = {})
    {
        if (!items.isEmpty())
            history.writeFile(HistoryHarness::document(items));
        screen = std::make_unique<StatsScreen>(history.open(), engine, backend.api, history.time);
        QObject::connect(screen.get(), &StatsScreen::statsChanged, [this] { ++results; });
    }

    bool computed()
    {
        return QTest::qWaitFor([&] { return !screen->isComputing(); }, 10000);
    }

    // The pull of a cloud copy that another device wrote.
    void pull(const QList<HistoryItem>& items, const QList<QUuid>& deleted)
    {
        history.cloud.storeHistory(HistoryHarness::document(items, deleted));
        history.store->pull();
        history.time.advance(3 * history.cloud.latency);
    }

    QJsonObject sentTo(QByteArrayView path, qsizetype index = 0) const
    {
        return QJsonDocument::fromJson(server.receivedAt(path.toByteArray()).at(index).body)
            .object();
    }

    HistoryHarness history;
    ScriptedHttpServer server;
    ApiClientHarness backend{server.url()};
    IcuWordTokenizer tokenizer;
    FakeLanguageTagger tagger{tokenizer};
    StatsEngine engine{tokenizer, tagger, {}};
    std::unique_ptr<StatsScreen> screen;
    int results = 0;
};

TEST_F(StatsScreenTest, ComputesWhileShownAndOnlyWhenPeriodCountOrFirstDateChange)
{
    const QList<HistoryItem> items{record(u"three"_s, 1h), record(u"two"_s, 2h),
                                   record(u"one"_s, 3h)};
    open(items);
    EXPECT_FALSE(screen->isComputing());
    EXPECT_FALSE(screen->loadingVisible() || screen->emptyVisible() || screen->cardsVisible());

    screen->setShown(true);
    EXPECT_TRUE(screen->loadingVisible());
    ASSERT_TRUE(computed());
    EXPECT_TRUE(screen->cardsVisible());
    EXPECT_EQ(screen->stats().messages, 3);

    // A change that keeps the count and the first record reruns nothing.
    int changes = 0;
    QObject::connect(history.store.get(), &HistoryStore::itemsChanged, [&] { ++changes; });
    pull(items, {QUuid::createUuid()});
    ASSERT_EQ(changes, 1);
    EXPECT_FALSE(screen->isComputing());

    // A newer record from another device in place of a deleted one: same count, new first.
    pull({record(u"from the phone"_s, 0h)}, {items[2].id});
    EXPECT_TRUE(screen->isComputing());
    ASSERT_TRUE(computed());

    screen->setPeriod(StatsPeriod::month);
    EXPECT_TRUE(screen->isComputing());
    ASSERT_TRUE(computed());

    // Hidden, it waits until it is shown again.
    screen->setShown(false);
    history.dictate(record(u"four"_s, 0h));
    EXPECT_FALSE(screen->isComputing());
    screen->setShown(true);
    ASSERT_TRUE(computed());
    EXPECT_EQ(screen->stats().messages, 4);
    EXPECT_EQ(results, 4);
}

TEST_F(StatsScreenTest, ANewerKeyReplacesAComputationStillRunning)
{
    open({record(u"one"_s, 1h)});
    screen->setShown(true);
    history.dictate(record(u"two"_s, 0h));
    ASSERT_TRUE(computed());
    EXPECT_EQ(results, 1);
    EXPECT_EQ(screen->stats().messages, 2);
}

TEST_F(StatsScreenTest, RecordsOlderThanAYearShowOnlyUnderAllTime)
{
    open({record(u"long ago"_s, 400 * 24h)});
    screen->setShown(true);
    for (const StatsPeriod period : {StatsPeriod::week, StatsPeriod::month, StatsPeriod::year}) {
        screen->setPeriod(period);
        ASSERT_TRUE(computed());
        EXPECT_TRUE(screen->emptyVisible()) << StatsPeriods::rawValue(period).toStdString();
    }
    screen->setPeriod(StatsPeriod::all);
    ASSERT_TRUE(computed());
    EXPECT_TRUE(screen->cardsVisible());
}

TEST_F(StatsScreenTest, InsightsNeedThreeMessagesOfMoreThanTwoWords)
{
    open({record(u"one two three"_s, 1h), record(u"ok then"_s, 2h), record(u"a b c d"_s, 3h)});
    screen->requestInsights();
    EXPECT_EQ(screen->insightsError(), u"Dictate at least 3 messages first."_s);
    EXPECT_FALSE(screen->loadingInsights());
    EXPECT_TRUE(server.received.isEmpty());
}

TEST_F(StatsScreenTest, InsightsAskAboutTheLongerOfTheNewestSixtyMessages)
{
    QList<HistoryItem> items;
    for (int i = 0; i < 57; ++i)
        items.append(record(i % 2 ? u"okay"_s : u"sounds good"_s, std::chrono::hours(i)));
    items.insert(10, record(u"Let us meet at noon."_s, 10h));
    items.insert(30, record(u"Please send the report today."_s, 30h));
    items.insert(52, record(u"I will call you back."_s, 52h));
    items.append(record(u"An older message with enough words."_s, 100h)); // the sixty-first
    open(items);

    server.script(insightsPath.toByteArray(), 200, R"({"summary":"Clear and kind.",
        "strengths":["Short sentences"],"suggestions":[{"title":"Pause","detail":"Breathe."}],
        "resources":[{"title":"A book","why":"It helps."}]})");
    screen->requestInsights();
    EXPECT_TRUE(screen->loadingInsights());
    EXPECT_EQ(screen->insightsButtonText(), u"Analyzing…"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->loadingInsights(); }, 10000));
    EXPECT_EQ(sentTo(insightsPath).value(u"samples"_s).toArray(),
              QJsonArray({u"Let us meet at noon."_s, u"Please send the report today."_s,
                          u"I will call you back."_s}));
    EXPECT_TRUE(screen->insightsVisible());
    EXPECT_EQ(screen->insightsSummary(), u"Clear and kind."_s);
    EXPECT_EQ(screen->resources().first().toMap().value(u"detail"_s), u"It helps."_s);
    EXPECT_FALSE(screen->insightsButtonVisible());

    // A failure says why in the backend client's words, and keeps what was there.
    server.script(insightsPath.toByteArray(), 503);
    screen->requestInsights();
    EXPECT_TRUE(screen->insightsError().isEmpty());
    EXPECT_TRUE(screen->insightsButtonVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->loadingInsights(); }, 10000));
    EXPECT_EQ(screen->insightsError(), u"Couldn't generate insights right now. Try again."_s);
    EXPECT_TRUE(screen->insightsVisible());
}

TEST_F(StatsScreenTest, RecapSendsThePeriodsTextsAsWrittenAndFailsSilently)
{
    open({record(u"  hello  "_s, 1h), record(u"\t \u00a0"_s, 2h), record(u"\n"_s, 3h),
          record(u"last month"_s, 20 * 24h)});
    EXPECT_EQ(screen->recapTitle(), u"Week recap"_s);
    EXPECT_EQ(screen->recapBody(),
              u"A warm, one-glance recap of everything you captured this week."_s);

    server.script(summaryPath.toByteArray(), 200, R"({"summary":"A calm week."})");
    screen->requestRecap();
    EXPECT_EQ(screen->recapButtonText(), u"Writing…"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->loadingRecap(); }, 10000));
    const QJsonObject sent = sentTo(summaryPath);
    EXPECT_EQ(sent.value(u"texts"_s).toArray(), QJsonArray({u"  hello  "_s, u"\n"_s}));
    EXPECT_EQ(sent.value(u"period"_s).toString(), u"week"_s);
    EXPECT_EQ(screen->recapBody(), u"A calm week."_s);
    EXPECT_FALSE(screen->recapButtonVisible());

    // A week's recap is not the month's.
    screen->setPeriod(StatsPeriod::month);
    EXPECT_EQ(screen->recapTitle(), u"Month recap"_s);
    EXPECT_FALSE(screen->recapWritten());
    screen->setPeriod(StatsPeriod::week);
    EXPECT_TRUE(screen->recapWritten());

    server.script(summaryPath.toByteArray(), 500);
    screen->requestRecap();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->loadingRecap(); }, 10000));
    EXPECT_FALSE(screen->recapWritten());
}

TEST_F(StatsScreenTest, APeriodOfBlankTextsWritesNoRecap)
{
    open({record(u"  "_s, 1h), record(u"\t"_s, 2h), record(u"too old"_s, 10 * 24h)});
    screen->requestRecap();
    EXPECT_FALSE(screen->loadingRecap());
    EXPECT_FALSE(screen->recapWritten());
    EXPECT_TRUE(server.received.isEmpty());
}
