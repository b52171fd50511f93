#include "input/HotkeyMonitor.h"

#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeScheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;
using Scope = KeyEventMonitors::Scope;
using Kind = KeyEventMonitors::Kind;

namespace {

constexpr int rightCommandKey = 54;
constexpr int leftCommandKey = 55;
constexpr int rightOptionKey = 61;
constexpr int shiftKey = 56;
constexpr int letterKey = 0;
constexpr auto command = ModifierFlags::command;
constexpr auto option = ModifierFlags::option;
constexpr auto shift = ModifierFlags::shift;

class HotkeyMonitorTest : public testing::Test
{
protected:
    HotkeyMonitorTest()
    {
        monitor.setCallbacks({[this] { calls.push_back("began"); },
                              [this] { calls.push_back("ended"); },
                              [this] { calls.push_back("interrupted"); }});
        monitor.start();
    }

    // What the given event made the monitor call.
    Calls flags(int keyCode, std::uint64_t modifierFlags, Scope scope = Scope::global)
    {
        return deliver(scope, Kind::flagsChanged, {keyCode, modifierFlags, {}});
    }
    Calls keyDown(int keyCode = letterKey)
    {
        return deliver(Scope::global, Kind::keyDown, {keyCode, 0, {}});
    }
    Calls deliver(Scope scope, Kind kind, const KeyEvent& event)
    {
        events.send(scope, kind, event);
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
    Calls calls;
};

const Calls none;
const Calls began{"began"};
const Calls ended{"ended"};
const Calls interrupted{"interrupted"};

} // namespace

TEST_F(HotkeyMonitorTest, InstallsThreeMonitorsInOrderAndRemovesThem)
{
    const std::vector<std::pair<Scope, Kind>> three{{Scope::global, Kind::flagsChanged},
                                                    {Scope::global, Kind::keyDown},
                                                    {Scope::local, Kind::flagsChanged}};
    EXPECT_EQ(installed(), three);
    monitor.start();
    EXPECT_EQ(installed(), three);
    monitor.stop();
    EXPECT_TRUE(installed().empty());

    events.refused = {{Scope::global, Kind::keyDown}};
    monitor.start();
    EXPECT_EQ(installed(), (std::vector<std::pair<Scope, Kind>>{three[0], three[2]}));
    EXPECT_EQ(flags(rightCommandKey, command), began);
    EXPECT_EQ(flags(rightCommandKey, 0, Scope::local), ended);

    {
        HotkeyMonitor gone(events, time);
        gone.start();
    }
    EXPECT_EQ(installed().size(), 2u);
}

TEST_F(HotkeyMonitorTest, OnlyTheWatchedKeyBeginsAndEndsAHold)
{
    EXPECT_EQ(flags(leftCommandKey, command), none);
    EXPECT_EQ(flags(leftCommandKey, 0), none);
    EXPECT_EQ(flags(rightCommandKey, 0), none);
    EXPECT_EQ(flags(rightCommandKey, command), began);
    EXPECT_EQ(flags(rightCommandKey, command), none);
    EXPECT_EQ(flags(shiftKey, command | shift), none);
    EXPECT_EQ(flags(shiftKey, 0), none);
    EXPECT_EQ(flags(rightCommandKey, shift), ended);
    EXPECT_EQ(flags(rightCommandKey, 0), none);
    // Our own windows see the key through the local monitor.
    EXPECT_EQ(flags(rightCommandKey, command, Scope::local), began);
    EXPECT_EQ(flags(rightCommandKey, 0, Scope::local), ended);
}

TEST_F(HotkeyMonitorTest, OtherSideKeyKeepsTheHoldUntilTheWatchedKeyReportsItClear)
{
    EXPECT_EQ(flags(rightCommandKey, command), began);
    EXPECT_EQ(flags(leftCommandKey, command), none);
    EXPECT_EQ(flags(rightCommandKey, command), none); // right up, left still down
    EXPECT_EQ(flags(leftCommandKey, 0), none);
    EXPECT_EQ(flags(rightCommandKey, command), none);
    EXPECT_EQ(flags(rightCommandKey, 0), ended);
}

TEST_F(HotkeyMonitorTest, KeysTypedInTheFirstSecondInterrupt)
{
    EXPECT_EQ(keyDown(), none);

    EXPECT_EQ(flags(rightCommandKey, command), began);
    time.advance(990ms);
    EXPECT_EQ(keyDown(), interrupted);
    EXPECT_EQ(keyDown(), none); // auto-repeat of the same key
    EXPECT_EQ(flags(rightCommandKey, 0), none);

    EXPECT_EQ(flags(rightCommandKey, command), began);
    time.advance(1000ms);
    EXPECT_EQ(keyDown(), none);
    EXPECT_EQ(keyDown(rightOptionKey), none);
    EXPECT_EQ(flags(rightCommandKey, 0), ended);
}

TEST_F(HotkeyMonitorTest, ChangingTheKeyMidHoldKeepsTheHold)
{
    EXPECT_EQ(flags(rightCommandKey, command), began);
    monitor.setHotkey(Hotkey::rightOption);
    EXPECT_EQ(flags(rightCommandKey, 0), none);
    EXPECT_EQ(flags(rightOptionKey, option), none);
    EXPECT_EQ(flags(rightOptionKey, 0), ended);
    EXPECT_EQ(flags(rightCommandKey, command), none);
    EXPECT_EQ(flags(rightOptionKey, option), began);
}

TEST_F(HotkeyMonitorTest, StopAndRestartForgetTheHoldSilently)
{
    EXPECT_EQ(flags(rightCommandKey, command), began);
    monitor.stop();
    EXPECT_EQ(flags(rightCommandKey, 0), none);
    monitor.start();
    EXPECT_EQ(flags(rightCommandKey, command), began);
    monitor.start();
    EXPECT_EQ(keyDown(), none);
    EXPECT_EQ(flags(rightCommandKey, 0), none);
    EXPECT_EQ(flags(rightCommandKey, command), began);

    // A callback may stop the monitor while its event is delivered.
    monitor.setCallbacks({{}, [this] { monitor.stop(); }, {}});
    EXPECT_EQ(flags(rightCommandKey, 0), none);
    EXPECT_TRUE(installed().empty());
}
