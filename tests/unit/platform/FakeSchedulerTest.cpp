#include "fakes/FakeScheduler.h"

#include <gtest/gtest.h>

#include <vector>

using namespace std::chrono_literals;

namespace {

TEST(FakeSchedulerTest, RunsWhatFallsDueInOrderAndMovesTheClock)
{
    FakeScheduler time;
    const auto start = time.now();
    std::vector<std::pair<int, std::chrono::milliseconds>> ran;
    auto note = [&](int id) {
        return [&, id] {
            ran.emplace_back(
                id, std::chrono::duration_cast<std::chrono::milliseconds>(time.now() - start));
        };
    };
    TimerHandle late = time.runAfter(300ms, note(3));
    TimerHandle first = time.runAfter(100ms, note(1));
    TimerHandle tie = time.runAfter(100ms, note(2)); // same time: scheduling order
    TimerHandle chained = time.runAfter(200ms, [&] {
        note(4)();
        // Scheduled from inside advance() and due within it: runs in the same advance.
        static TimerHandle inner;
        inner = time.runAfter(50ms, note(5));
    });

    time.advance(299ms);
    const std::vector<std::pair<int, std::chrono::milliseconds>> expected{
        {1, 100ms}, {2, 100ms}, {4, 200ms}, {5, 250ms}};
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(time.now() - start, 299ms);
    time.advance(1ms);
    EXPECT_EQ(ran.back(), std::make_pair(3, 300ms));
}

TEST(FakeSchedulerTest, RepeatsUntilCancelledAndDroppedHandlesCancel)
{
    FakeScheduler time;
    int ticks = 0;
    TimerHandle repeating = time.runEvery(50ms, [&] { ++ticks; });
    time.advance(1s);
    EXPECT_EQ(ticks, 20);
    repeating.cancel();
    time.advance(1s);
    EXPECT_EQ(ticks, 20);

    bool ran = false;
    {
        TimerHandle dropped = time.runAfter(10ms, [&] { ran = true; });
    }
    time.advance(1s);
    EXPECT_FALSE(ran);
    EXPECT_EQ(time.pendingCount(), 0u);
}

TEST(FakeSchedulerTest, CallbackMayCancelItselfOrOutliveTheScheduler)
{
    TimerHandle outliving;
    {
        FakeScheduler time;
        int ticks = 0;
        TimerHandle self;
        self = time.runEvery(10ms, [&] {
            if (++ticks == 3)
                self.cancel();
        });
        time.advance(1s);
        EXPECT_EQ(ticks, 3);
        outliving = time.runAfter(1h, [] {});
    }
    outliving.cancel(); // the scheduler is gone: nothing to do, nothing to crash
}

} // namespace
