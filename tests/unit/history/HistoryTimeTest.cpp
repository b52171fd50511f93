#include "history/HistoryTime.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace {

TEST(HistoryTimeTest, CountsSecondsFrom2001)
{
    const Clock::TimePoint march2025 = sys_days{2025y / March / 1} + 9h + 30min;
    EXPECT_EQ(HistoryTime::fromTimePoint(march2025), 762514200.0);
    EXPECT_EQ(HistoryTime::fromTimePoint(sys_days{2001y / January / 1}), 0.0);
    EXPECT_EQ(HistoryTime::fromTimePoint(sys_days{2000y / December / 31}), -86400.0);
    EXPECT_EQ(HistoryTime::toTimePoint(762514200.0), march2025);
}

// A double near 8e8 s resolves about 120 ns; that is all a round trip may lose.
TEST(HistoryTimeTest, RoundTripLosesLessThanAMicrosecond)
{
    const Clock::TimePoint base = sys_days{2026y / December / 6};
    for (milliseconds offset : {0ms, 1ms, 510ms, 999ms, 123456789ms}) {
        const Clock::TimePoint time = base + offset;
        const auto back = HistoryTime::toTimePoint(HistoryTime::fromTimePoint(time));
        EXPECT_LT(abs(back - time), 1us) << offset.count();
    }
}

} // namespace
