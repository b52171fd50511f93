#include "ui/WaveHeights.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Range
{
    qreal low = 1e9;
    qreal high = -1e9;
};

// The bar heights in points seen over two seconds of ticks at 20 Hz.
Range barsOverTime(qreal level)
{
    Range range;
    for (int tick = 0; tick < 40; ++tick) {
        for (const qreal fraction : WaveHeights::at(level, 1000 + tick * 0.05)) {
            const qreal points = WaveHeights::inPoints(fraction);
            range.low = std::min(range.low, points);
            range.high = std::max(range.high, points);
        }
    }
    return range;
}

TEST(WaveHeightsTest, SilenceRipplesGentlyAndFullLevelSwingsUpToTheTop)
{
    const Range silence = barsOverTime(0);
    EXPECT_NEAR(silence.low, 9.5, 0.05);
    EXPECT_NEAR(silence.high, 9.7, 0.05);
    EXPECT_GT(silence.high - silence.low, 0.1) << "still moving";

    const Range full = barsOverTime(1);
    EXPECT_NEAR(full.low, 14.1, 0.1);
    EXPECT_NEAR(full.high, 19.0, 0.05);
    EXPECT_LE(full.high, 19.0);

    const Range over = barsOverTime(1.5);
    EXPECT_EQ(over.low, full.low) << "a level above 1 counts as 1";
    EXPECT_EQ(over.high, full.high);
}

} // namespace
