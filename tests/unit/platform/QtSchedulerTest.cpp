#include "platform/linux/QtScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Spins the event loop until done() or a generous deadline.
template<class Done>
bool spinUntil(Done done)
{
    QElapsedTimer deadline;
    deadline.start();
    while (!done() && deadline.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

TEST(QtSchedulerTest, RunsOnceRepeatsAndCancelsOnTheEventLoop)
{
    QtScheduler scheduler;
    int once = 0;
    int repeats = 0;
    TimerHandle single = scheduler.runAfter(1ms, [&] { ++once; });
    TimerHandle repeating;
    repeating = scheduler.runEvery(1ms, [&] {
        if (++repeats == 3)
            repeating.cancel(); // dropping the timer from inside its own callback
    });
    bool cancelledRan = false;
    TimerHandle cancelled = scheduler.runAfter(1ms, [&] { cancelledRan = true; });
    cancelled.cancel();

    ASSERT_TRUE(spinUntil([&] { return once == 1 && repeats == 3; }));
    // Anything cancelled or finished would have run by the time a later timer fires.
    bool markerRan = false;
    TimerHandle last = scheduler.runAfter(20ms, [&] { markerRan = true; });
    ASSERT_TRUE(spinUntil([&] { return markerRan; }));
    EXPECT_EQ(once, 1);
    EXPECT_EQ(repeats, 3);
    EXPECT_FALSE(cancelledRan);
}

} // namespace
