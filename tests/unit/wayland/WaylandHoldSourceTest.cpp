#include "platform/wayland/WaylandHoldSource.h"

#include "fakes/FakeHoldKeySource.h"
#include "fakes/FakeScheduler.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

class WaylandHoldSourceTest : public testing::Test
{
protected:
    void watch(WaylandHoldSource& source)
    {
        source.setCallbacks({[this] { calls += "began "; }, [this] { calls += "ended "; },
                             [this] { calls += "interrupted "; }});
    }

    FakeScheduler scheduler;
    std::string calls;
};

} // namespace

// Signals from outside (the desktop's shortcut, key bindings) are as unreliable as the desktop:
// a repeated "began" must not restart the recording, a lone "ended" means nothing, and a lost
// release ends the hold at the backend's limit instead of recording forever.
TEST_F(WaylandHoldSourceTest, SignalledHoldsSurviveRepeatsAndLostReleases)
{
    WaylandHoldSource source(scheduler, nullptr);
    watch(source);
    source.holdBegan(); // not started yet: nobody asked for holds
    EXPECT_EQ(source.start(), std::nullopt);
    source.holdEnded();
    source.holdBegan();
    source.holdBegan();
    scheduler.advance(5s);
    source.holdEnded();
    EXPECT_EQ(calls, "began ended ");

    calls.clear();
    source.holdBegan();
    scheduler.advance(WaylandHoldSource::holdLimit - 1ms);
    EXPECT_EQ(calls, "began ");
    scheduler.advance(1ms);
    source.holdEnded();
    EXPECT_EQ(calls, "began ended ");

    calls.clear();
    source.holdBegan();
    source.stop();
    scheduler.advance(WaylandHoldSource::holdLimit);
    source.holdBegan();
    EXPECT_EQ(calls, "began ");
}

// With keyboard reading on, the keys and the bindings feed one hold: whichever began it, either
// may end it, and changing the key ends it as the interface promises.
TEST_F(WaylandHoldSourceTest, KeysAndBindingsShareOneHold)
{
    FakeHoldKeySource keys;
    WaylandHoldSource source(scheduler, &keys);
    watch(source);
    EXPECT_EQ(source.start(), std::nullopt);
    EXPECT_EQ(keys.starts, 1);

    keys.press();
    source.holdBegan();
    source.holdEnded();
    keys.release();
    source.holdBegan();
    keys.interrupt();
    keys.press();
    source.setHotkey(Hotkey::rightOption);
    EXPECT_EQ(calls, "began ended began interrupted began ended ");
    EXPECT_EQ(keys.hotkey, Hotkey::rightOption);
    source.stop();
    EXPECT_EQ(keys.stops, 2); // once at start, once now
}
