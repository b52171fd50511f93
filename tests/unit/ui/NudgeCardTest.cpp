#include "fakes/FakeScheduler.h"
#include "nudge/NudgeState.h"
#include "ui/NudgeModel.h"
#include "ui/NudgePlacement.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

TEST(NudgeCardTest, CountsDownFromFiveAtSecondStepsThenShowsTheCross)
{
    FakeScheduler time;
    NudgeState state;
    NudgeModel model(
        state, u"right Super"_s, [] {}, time);
    state.setShowing(true);
    QList<int> seen{model.secondsLeft()};
    for (int i = 0; i < 5; ++i) {
        time.advance(999ms);
        EXPECT_EQ(model.secondsLeft(), seen.back()) << "not before the second is up";
        time.advance(1ms);
        seen.append(model.secondsLeft());
    }
    EXPECT_EQ(seen, (QList<int>{5, 4, 3, 2, 1, 0}));
    EXPECT_FALSE(model.secondsVisible());
    EXPECT_EQ(time.pendingCount(), 0u);

    // A dismissal stops the count where it is; the next showing starts again from five.
    state.setShowing(false);
    state.setShowing(true);
    EXPECT_TRUE(model.secondsVisible());
    time.advance(2500ms);
    state.setShowing(false);
    time.advance(5s);
    EXPECT_EQ(model.secondsLeft(), 3);
}

TEST(NudgeCardTest, SitsCentredOnThePrimaryScreenSeventyEightPointsAboveItsDock)
{
    // A 1440 × 900 primary screen with a 25-point top bar and a 70-point dock, and a second one.
    const QList<ScreenArea> screens{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 805)},
                                    {QRect(1440, 0, 1920, 1080), QRect(1440, 0, 1920, 1080)}};
    const QSize panel(701, 114);
    EXPECT_EQ(NudgePlacement::origin(screens, panel), QPoint(370, 830 - 78 - 114));
    EXPECT_EQ(NudgePlacement::origin({}, panel), std::nullopt);
    EXPECT_EQ(NudgePlacement::cardRect(panel), QRect(24, 24, 653, 66));
}

} // namespace
