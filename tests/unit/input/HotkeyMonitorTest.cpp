#include "input/HotkeyMonitor.h"

#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeScheduler.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Scope = KeyEventMonitors::Scope;
using Kind = KeyEventMonitors::Kind;

namespace {

constexpr int rightCommandKey = 54;
constexpr int leftCommandKey = 55;
constexpr int rightOptionKey = 61;
constexpr int shiftKey = 56;
constexpr auto command = ModifierFlags::command;
// What the right-hand keys set while held: the shared flag and their own.
constexpr auto rightCommand = command | ModifierFlags::rightCommandKey;
constexpr auto rightOption = ModifierFlags::option | ModifierFlags::rightOptionKey;

class HotkeyMonitorTest : public testing::Test
{
protected:
    HotkeyMonitorTest()
    {
        monitor.setCallbacks({[this] { calls += "began"; }, [this] { calls += "ended"; },
                              [this] { calls += "interrupted"; }});
        monitor.start();
    }

    // Each returns what the event made the monitor call, "" for nothing.
    std::string flags(int keyCode, std::uint64_t modifierFlags, Scope scope = Scope::global)
    {
        events.send(scope, Kind::flagsChanged, {keyCode, modifierFlags, {}});
        return std::exchange(calls, {});
    }
    std::string keyDown()
    {
        events.send(Scope::global, Kind::keyDown, {0, 0, {}});
        return std::exchange(calls, {});
    }
    std::vector<std::pair<Scope, Kind>> installed() const
    {
        std::vector<std::pair<Scope, Kind>> result;
        for (const auto& monitor : events.registry.installed())
            result.emplace_back(monitor.scope, monitor.kind);
        return result;
    }

    FakeScheduler time;
    FakeKeyEventMonitors events;
    HotkeyMonitor monitor{events, time};
    std::string calls;
};

} // namespace

TEST_F(HotkeyMonitorTest, InstallsThreeMonitorsInOrderAndRemovesThem)
{
    const std::vector<std::pair<Scope, Kind>> three{{Scope::global, Kind::flagsChanged},
                                                    {Scope::global, Kind::keyDown},
                                                    {Scope::local, Kind::flagsChanged}};
    EXPECT_EQ(monitor.start(), std::nullopt);
    EXPECT_EQ(installed(), three);
    monitor.stop();
    EXPECT_TRUE(installed().empty());

    // A refused monitor is skipped; the others still work.
    events.refused = {{Scope::global, Kind::keyDown}};
    EXPECT_EQ(monitor.start(), std::nullopt);
    EXPECT_EQ(installed(), (std::vector{three[0], three[2]}));
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    EXPECT_EQ(flags(rightCommandKey, 0, Scope::local), "ended");

    HotkeyMonitor(events, time).start();
    EXPECT_EQ(installed().size(), 2u);

    // With no desktop to watch, starting says why instead of silently seeing nothing.
    events.unavailable = u"Murmo needs an X display"_s;
    EXPECT_EQ(monitor.start(), events.unavailable);
    EXPECT_TRUE(installed().empty());
}

TEST_F(HotkeyMonitorTest, OnlyTheWatchedKeyBeginsAndEndsAHold)
{
    EXPECT_EQ(flags(leftCommandKey, command), "");
    EXPECT_EQ(flags(leftCommandKey, 0), "");
    EXPECT_EQ(flags(rightCommandKey, 0), "");
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "");
    EXPECT_EQ(flags(shiftKey, rightCommand | ModifierFlags::shift), "");
    EXPECT_EQ(flags(shiftKey, 0), "");
    EXPECT_EQ(flags(rightCommandKey, ModifierFlags::shift), "ended");
    EXPECT_EQ(flags(rightCommandKey, rightCommand, Scope::local), "began");
    EXPECT_EQ(flags(rightCommandKey, 0), "ended");
}

TEST_F(HotkeyMonitorTest, ReleasingTheKeyEndsTheHoldWhateverTheOtherSideDoes)
{
    // Left key down first: the right key's release leaves the shared flag set.
    EXPECT_EQ(flags(leftCommandKey, command), "");
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    EXPECT_EQ(flags(rightCommandKey, command), "ended");
    EXPECT_EQ(flags(leftCommandKey, 0), "");

    // Left key down during the hold, and up again before the right one.
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    EXPECT_EQ(flags(leftCommandKey, rightCommand), "");
    EXPECT_EQ(flags(leftCommandKey, rightCommand), "");
    EXPECT_EQ(flags(rightCommandKey, 0), "ended");
}

TEST_F(HotkeyMonitorTest, KeysTypedInTheFirstSecondInterrupt)
{
    EXPECT_EQ(keyDown(), "");
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    time.advance(990ms);
    EXPECT_EQ(keyDown(), "interrupted");
    EXPECT_EQ(keyDown(), ""); // auto-repeat
    EXPECT_EQ(flags(rightCommandKey, 0), "");

    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    time.advance(1000ms);
    EXPECT_EQ(keyDown(), "");
    EXPECT_EQ(flags(rightCommandKey, 0), "ended");
}

TEST_F(HotkeyMonitorTest, ChangingTheKeyMidHoldEndsTheHold)
{
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    // fn is never seen on X11: its release could not end the hold.
    monitor.setHotkey(Hotkey::fn);
    EXPECT_EQ(std::exchange(calls, {}), "ended");
    monitor.setHotkey(Hotkey::rightOption);
    EXPECT_EQ(calls, "");
    EXPECT_EQ(flags(rightCommandKey, 0), "");
    EXPECT_EQ(flags(rightOptionKey, rightOption), "began");
    monitor.setHotkey(Hotkey::rightOption);
    EXPECT_EQ(flags(rightOptionKey, 0), "ended");
}

TEST_F(HotkeyMonitorTest, StopAndRestartForgetTheHoldSilently)
{
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    monitor.stop();
    EXPECT_EQ(flags(rightCommandKey, 0), "");
    monitor.start();
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");
    monitor.start();
    EXPECT_EQ(keyDown(), "");
    EXPECT_EQ(flags(rightCommandKey, 0), "");
    EXPECT_EQ(flags(rightCommandKey, rightCommand), "began");

    // A callback may stop the monitor while its event is delivered.
    monitor.setCallbacks({{}, [this] { monitor.stop(); }, {}});
    EXPECT_EQ(flags(rightCommandKey, 0), "");
    EXPECT_TRUE(installed().empty());
}
