#include "ui/StatsCards.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

} // namespace

TEST(StatsCardsTest, DurationsAndHourLabels)
{
    EXPECT_EQ(StatsCards::duration(0), u"—"_s);
    EXPECT_EQ(StatsCards::duration(45), u"45s"_s);
    EXPECT_EQ(StatsCards::duration(60), u"1m"_s);
    EXPECT_EQ(StatsCards::duration(3599), u"59m"_s);
    EXPECT_EQ(StatsCards::duration(3725), u"1h 2m"_s);

    const QStringList labels{u"12a"_s, u"1a"_s, u"11a"_s, u"12p"_s, u"1p"_s, u"11p"_s, u"12a"_s};
    QStringList shown;
    for (const qint64 hour : {0, 1, 11, 12, 13, 23, 24})
        shown.append(StatsCards::hourLabel(hour));
    EXPECT_EQ(shown, labels);
}

TEST(StatsCardsTest, WordsAndKeyFigures)
{
    PeriodStats stats;
    stats.messages = 2;
    stats.words = 12345;
    stats.wordsDeltaPct = -5;
    stats.comparisons = {u"a short story"_s, u"the back of a cereal box"_s};
    stats.secondsSaved = 3725;
    const StatsCards cards = StatsCards::of(stats, StatsPeriod::week, english);

    EXPECT_EQ(cards.wordsCaption, u"WORDS THIS WEEK"_s);
    EXPECT_EQ(cards.wordsValue, u"12,345"_s);
    EXPECT_TRUE(cards.wordsBadge.visible);
    EXPECT_EQ(cards.wordsBadge.symbol, u"arrow.down.right"_s);
    EXPECT_EQ(cards.wordsBadge.text, u"5%"_s);
    EXPECT_FALSE(cards.wordsBadge.good);
    EXPECT_EQ(cards.wordsComparison, u"≈ a short story"_s);

    ASSERT_EQ(cards.keyFigures.size(), 4);
    EXPECT_EQ(cards.keyFigures[0].value, u"2"_s);
    EXPECT_EQ(cards.keyFigures[1].value, u"6,173"_s); // 6172.5, halves away from zero
    EXPECT_EQ(cards.keyFigures[2].value, u"—"_s);     // no pace measured
    EXPECT_EQ(cards.keyFigures[3].value, u"1h 2m"_s);

    const StatsCards empty = StatsCards::of({}, StatsPeriod::all, english);
    EXPECT_EQ(empty.keyFigures[1].value, u"0"_s);
    EXPECT_FALSE(empty.wordsBadge.visible);
    EXPECT_TRUE(empty.wordsComparison.isEmpty());
}

TEST(StatsCardsTest, VocabularyAndHours)
{
    PeriodStats stats;
    stats.uniqueWords = 1234;
    stats.vocabDeltaPct = 12;
    stats.hourWords[9] = 40;
    stats.hourWords[10] = 80;
    stats.peak = HourRange{9, 11};
    StatsCards cards = StatsCards::of(stats, StatsPeriod::week, english);
    EXPECT_EQ(cards.uniqueWordsLine, u"1,234 unique words this week"_s);
    EXPECT_EQ(cards.vocabDelta, u"+12% vs last week"_s);
    EXPECT_EQ(cards.peakText, u"Most active 9a–12p"_s);
    EXPECT_EQ(cards.hourBars[9], 0.5);
    EXPECT_EQ(cards.hourBars[10], 1.0);
    EXPECT_EQ(cards.hourBars[0], 0.0);

    stats.vocabDeltaPct = -5;
    stats.peak = HourRange{22, 23};
    cards = StatsCards::of(stats, StatsPeriod::month, english);
    EXPECT_EQ(cards.vocabDelta, u"-5% vs last month"_s);
    EXPECT_EQ(cards.peakText, u"Most active 10p–12a"_s);

    stats.vocabDeltaPct = 0;
    stats.peak.reset();
    cards = StatsCards::of(stats, StatsPeriod::month, english);
    EXPECT_TRUE(cards.vocabDelta.isEmpty());
    EXPECT_TRUE(cards.peakText.isEmpty());
}

TEST(StatsCardsTest, ClarityAndDevices)
{
    PeriodStats stats;
    stats.words = 200;
    StatsCards cards = StatsCards::of(stats, StatsPeriod::all, english);
    EXPECT_TRUE(cards.crystalClear);
    EXPECT_EQ(cards.crystalClearText, u"Crystal clear — no fillers detected all time."_s);

    stats.fillerTotal = 3;
    stats.fillerTrendPct = 0;
    stats.topFillers = {{u"um"_s, 2}, {u"like"_s, 1}};
    stats.phoneWords = 1234;
    stats.macWords = 3702;
    cards = StatsCards::of(stats, StatsPeriod::week, english);
    EXPECT_FALSE(cards.crystalClear);
    EXPECT_EQ(cards.fillerRate, u"1.5"_s);
    EXPECT_FALSE(cards.fillerBadge.visible);
    EXPECT_EQ(cards.topFillers.size(), 2);
    EXPECT_EQ(cards.phoneWords, u"1,234 w"_s);
    EXPECT_EQ(cards.computerWords, u"3,702 w"_s);
    EXPECT_EQ(cards.phoneShare, 0.25);

    // More fillers is a change for the worse, and fillers in no words are no rate at all.
    stats.fillerTrendPct = 20;
    stats.words = 0;
    cards = StatsCards::of(stats, StatsPeriod::week, english);
    EXPECT_EQ(cards.fillerBadge.symbol, u"arrow.up.right"_s);
    EXPECT_EQ(cards.fillerBadge.text, u"20%"_s);
    EXPECT_FALSE(cards.fillerBadge.good);
    EXPECT_EQ(cards.fillerRate, u"0.0"_s);
}

TEST(StatsCardsTest, RecapTitles)
{
    EXPECT_EQ(StatsCards::recapTitle(StatsPeriod::week), u"Week recap"_s);
    EXPECT_EQ(StatsCards::recapTitle(StatsPeriod::year), u"Year recap"_s);
    EXPECT_EQ(StatsCards::recapTitle(StatsPeriod::all), u"Period recap"_s);
}
