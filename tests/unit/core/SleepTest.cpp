#include "core/Sleep.h"

#include "fakes/FakeScheduler.h"

#include <QCoroTask>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QCoro::Task<> sleeper(Scheduler& scheduler, std::chrono::milliseconds delay, std::stop_token stop,
                      std::optional<bool>& result)
{
    result = co_await Sleep(scheduler, delay, stop);
}

TEST(SleepTest, ElapsesInVirtualTimeEvenWhenTheTaskIsDropped)
{
    FakeScheduler time;
    std::optional<bool> result;
    sleeper(time, 1400ms, {}, result); // dropped at once: it must still run to its end
    time.advance(1399ms);
    EXPECT_FALSE(result);
    time.advance(1ms);
    EXPECT_EQ(result, true);
    EXPECT_EQ(time.pendingCount(), 0u);
}

TEST(SleepTest, StopEndsTheSleepEarlyOnTheNextTurn)
{
    FakeScheduler time;
    std::stop_source stop;
    std::optional<bool> result;
    sleeper(time, 1400ms, stop.get_token(), result);
    time.advance(100ms);
    stop.request_stop();
    EXPECT_FALSE(result) << "the requester finishes first";
    time.runDue();
    EXPECT_EQ(result, false);
    EXPECT_EQ(time.pendingCount(), 0u) << "the original timer is gone";
}

TEST(SleepTest, AlreadyStoppedTokenDoesNotSuspend)
{
    FakeScheduler time;
    std::stop_source stop;
    stop.request_stop();
    std::optional<bool> result;
    sleeper(time, 1400ms, stop.get_token(), result);
    EXPECT_EQ(result, false);
}

} // namespace
