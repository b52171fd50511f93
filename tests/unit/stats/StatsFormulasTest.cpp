#include "stats/StatsFormulas.h"
#include "stats/StatsPeriod.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

TEST(StatsFormulasTest, DeltaPercentRoundsHalvesAwayFromZeroAndNeedsAPreviousValue)
{
    EXPECT_EQ(deltaPercent(150, 100), 50);
    EXPECT_EQ(deltaPercent(50, 100), -50);
    EXPECT_EQ(deltaPercent(1, 8), -88); // -87.5
    EXPECT_EQ(deltaPercent(3, 8), -63); // -62.5
    EXPECT_EQ(deltaPercent(500, 100), 400);
    EXPECT_EQ(deltaPercent(10, 0), std::nullopt);
    EXPECT_EQ(deltaPercent(0, -3), std::nullopt);
}

TEST(StatsFormulasTest, VocabularyScoreIsCappedAndZeroWithoutWords)
{
    EXPECT_EQ(scoreVocabulary(50, 100), 23);
    EXPECT_EQ(scoreVocabulary(400, 400), 92);
    EXPECT_EQ(scoreVocabulary(30, 30), 25);
    EXPECT_EQ(scoreVocabulary(5000, 5000), 100);
    EXPECT_EQ(scoreVocabulary(3, 0), 0);
}

TEST(StatsFormulasTest, ComparisonsListSizeBookReadingAndTalking)
{
    EXPECT_EQ(buildComparisons(0), QStringList());
    EXPECT_EQ(buildComparisons(30), QStringList{QStringLiteral("a quick text")});
    EXPECT_EQ(buildComparisons(120), (QStringList{QStringLiteral("a long text message"),
                                                  QStringLiteral("1 min of reading")}));
    EXPECT_EQ(buildComparisons(700).first(), QStringLiteral("a 3-page short story"));
    EXPECT_EQ(buildComparisons(3000),
              (QStringList{QStringLiteral("a 12-page novella"), QStringLiteral("15 min of reading"),
                           QStringLiteral("20 min of talking nonstop")}));
    EXPECT_EQ(buildComparisons(5000), (QStringList{QStringLiteral("a 20-page novella"),
                                                   QStringLiteral("6% of Harry Potter (book 1)"),
                                                   QStringLiteral("25 min of reading"),
                                                   QStringLiteral("33 min of talking nonstop")}));
    EXPECT_EQ(buildComparisons(89999).first(), QStringLiteral("a 360-page novel"));
    EXPECT_EQ(buildComparisons(100000),
              (QStringList{QStringLiteral("1.3× Harry Potter (book 1)"),
                           QStringLiteral("500 min of reading"),
                           QStringLiteral("667 min of talking nonstop")}));
}

TEST(StatsFormulasTest, PeakWindowPrefersTheEarliestOfEqualStretches)
{
    QList<qint64> hours(24, 0);
    EXPECT_EQ(peakWindow(hours), std::nullopt);
    EXPECT_EQ(peakWindow({}), std::nullopt);
    for (qint64 hour : {0, 1, 2, 15, 23}) {
        hours.fill(0);
        hours[hour] = 10;
        const qint64 start = std::max<qint64>(0, hour - 2);
        EXPECT_EQ(peakWindow(hours), (HourRange{start, start + 2})) << hour;
    }
    hours.fill(0);
    hours[5] = hours[6] = 4; // 5–7 and 4–6 tie at 8: 4 comes first
    hours[20] = 9;
    EXPECT_EQ(peakWindow(hours), (HourRange{18, 20}));
}

TEST(StatsPeriodTest, RawValuesRoundTripAndUnknownOnesAreRejected)
{
    for (StatsPeriod period : StatsPeriods::all)
        EXPECT_EQ(StatsPeriods::fromRawValue(StatsPeriods::rawValue(period)), period);
    EXPECT_EQ(StatsPeriods::fromRawValue(QStringLiteral("Week")), std::nullopt);
    EXPECT_EQ(StatsPeriods::phrase(StatsPeriod::all), QStringLiteral("all time"));
}

TEST(StatsPeriodTest, WindowsRollBackInTheLocalCalendar)
{
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime endOfMarch(QDate(2024, 3, 31), QTime(10, 30), berlin); // just after DST began
    const StatsWindows month = StatsPeriods::windows(StatsPeriod::month, endOfMarch);
    EXPECT_EQ(month.currentStart, QDateTime(QDate(2024, 2, 29), QTime(10, 30), berlin));
    EXPECT_EQ(month.previousStart, QDateTime(QDate(2024, 1, 31), QTime(10, 30), berlin));
    const StatsWindows week = StatsPeriods::windows(StatsPeriod::week, endOfMarch);
    EXPECT_EQ(week.currentStart, QDateTime(QDate(2024, 3, 24), QTime(10, 30), berlin));
    EXPECT_EQ(week.previousStart, QDateTime(QDate(2024, 3, 17), QTime(10, 30), berlin));
    const QDateTime leapDay(QDate(2024, 2, 29), QTime(8, 0), berlin);
    EXPECT_EQ(StatsPeriods::windows(StatsPeriod::year, leapDay).currentStart,
              QDateTime(QDate(2023, 2, 28), QTime(8, 0), berlin));
    EXPECT_FALSE(StatsPeriods::windows(StatsPeriod::all, leapDay).currentStart);
}

} // namespace
