#include "stats/Fillers.h"

#include <gtest/gtest.h>

namespace {

qint64 countOf(const QString& raw, const QString& filler)
{
    for (const WordCount& counted : countFillers(raw)) {
        if (counted.word == filler)
            return counted.count;
    }
    return 0;
}

TEST(FillersTest, CountsOnlyWholeFillersBetweenSpaces)
{
    const QString hedged = QStringLiteral("Um, I mean, like, you know");
    EXPECT_EQ(countOf(hedged, QStringLiteral("um")), 0);
    EXPECT_EQ(countOf(hedged, QStringLiteral("i mean")), 0);
    EXPECT_EQ(countOf(hedged, QStringLiteral("like")), 0);
    EXPECT_EQ(countOf(hedged, QStringLiteral("you know")), 1);
    EXPECT_EQ(countOf(QStringLiteral("Like I said"), QStringLiteral("like")), 1);
    EXPECT_EQ(countOf(QStringLiteral("ну ну ну"), QStringLiteral("ну")), 3);
    EXPECT_EQ(countOf(QStringLiteral("ээээ"), QStringLiteral("ээ")), 0);
    EXPECT_EQ(countOf(QStringLiteral("ээээ"), QStringLiteral("эээ")), 0);
    EXPECT_EQ(countOf(QStringLiteral("Короче, это самое в общем"), QStringLiteral("в общем")), 1);
    EXPECT_EQ(countFillers(QStringLiteral("Clear and simple.")), QList<WordCount>());
}

TEST(FillersTest, SummaryRanksFillersAndComparesRatesPerHundredWords)
{
    const QList<QList<WordCount>> current{
        countFillers(QStringLiteral("um so like um basically")),
        countFillers(QStringLiteral("like um ну")),
    };
    const FillerSummary summary = summarizeFillers(current, 300, {{}}, 100);
    EXPECT_EQ(summary.fillerTotal, 7);
    ASSERT_EQ(summary.topFillers.size(), 4);
    EXPECT_EQ(summary.topFillers[0], (WordCount{QStringLiteral("um"), 3}));
    EXPECT_EQ(summary.topFillers[1], (WordCount{QStringLiteral("like"), 2}));
    EXPECT_EQ(summary.fillerTrendPct, std::nullopt); // no fillers before: no rate to compare

    // 2 per 100 words now against 4 before.
    const QList<QList<WordCount>> before{countFillers(QStringLiteral("uh uh uh uh"))};
    const QList<QList<WordCount>> now{countFillers(QStringLiteral("uh uh"))};
    EXPECT_EQ(summarizeFillers(now, 100, before, 100).fillerTrendPct, -50);
    EXPECT_EQ(summarizeFillers(now, 100, {}, 0).fillerTrendPct, std::nullopt);
    EXPECT_EQ(summarizeFillers({}, 0, before, 100).fillerTrendPct, -100);
}

TEST(FillersTest, TopFillersKeepTheSixMostFrequent)
{
    const FillerSummary summary = summarizeFillers(
        {countFillers(QStringLiteral("ну ну ну вот вот блин типа короче слушай um uh um"))}, 100,
        {}, 0);
    ASSERT_EQ(summary.topFillers.size(), 6);
    EXPECT_EQ(summary.topFillers[0].word, QStringLiteral("ну"));
    EXPECT_EQ(summary.topFillers[1].count, 2);
    EXPECT_EQ(summary.fillerTotal, 12);
}

} // namespace
