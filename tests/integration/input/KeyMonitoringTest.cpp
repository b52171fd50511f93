#include "fakes/FakeScheduler.h"
#include "input/HotkeyMonitor.h"
#include "platform/linux/X11AccessibilityTrust.h"
#include "platform/linux/X11KeyEventMonitors.h"
#include "platform/linux/XTestInjectionMarker.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"

#include <QGuiApplication>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Calls = std::vector<std::string>;
using Scope = KeyEventMonitors::Scope;
using Kind = KeyEventMonitors::Kind;
using murmo::test::waitUntil;

namespace {

// X keycodes of the keys these tests press.
constexpr int superRight = 134;
constexpr int superLeft = 133;
constexpr int altRight = 108;
constexpr int shiftLeft = 50;
constexpr int letterA = 38;
constexpr int escape = 9;

struct Seen
{
    Scope scope;
    Kind kind;
    KeyEvent event;
};

// The real X11 key layer under the real monitor. Time for the monitor is virtual: the first
// second of a hold passes when a test says so, however slowly the machine runs.
class KeyMonitoringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keyboard.isConnected());
        monitor.setCallbacks({[this] { calls.push_back("began"); },
                              [this] { calls.push_back("ended"); },
                              [this] { calls.push_back("interrupted"); }});
        monitor.start();
        // Installed after the monitor's, so these see each event once the monitor has judged it.
        for (const auto scope : {Scope::global, Scope::local}) {
            for (const auto kind : {Kind::flagsChanged, Kind::keyDown}) {
                ASSERT_TRUE(events.addMonitor(scope, kind, [=, this](const KeyEvent& event) {
                    seen.push_back({scope, kind, event});
                }));
            }
        }
    }

    // Presses or releases a key and waits until the layer has delivered its event.
    void press(int xKeycode)
    {
        expectDelivered([&] { keyboard.press(xKeycode); });
    }
    void release(int xKeycode)
    {
        expectDelivered([&] { keyboard.release(xKeycode); });
    }
    void expectDelivered(const std::function<void()>& act)
    {
        const auto before = seen.size();
        act();
        ASSERT_TRUE(waitUntil([&] { return seen.size() > before; }));
    }
    Calls takeCalls() { return std::exchange(calls, {}); }

    FakeScheduler time;
    XTestInjectionMarker ownInjections{time};
    X11KeyEventMonitors events{ownInjections};
    HotkeyMonitor monitor{events, time};
    murmo::test::XTestKeyboard keyboard;
    Calls calls;
    std::vector<Seen> seen;
};

} // namespace

TEST_F(KeyMonitoringTest, RightSuperHoldsAndLeftSuperDoesNothing)
{
    press(superLeft);
    release(superLeft);
    EXPECT_EQ(takeCalls(), Calls{});

    press(superRight);
    EXPECT_EQ(takeCalls(), Calls{"began"});
    release(superRight);
    EXPECT_EQ(takeCalls(), Calls{"ended"});
}

TEST_F(KeyMonitoringTest, RightAltHoldsWhenItIsTheHotkey)
{
    monitor.setHotkey(Hotkey::rightOption);
    press(superRight);
    release(superRight);
    press(altRight);
    release(altRight);
    EXPECT_EQ(takeCalls(), (Calls{"began", "ended"}));
}

TEST_F(KeyMonitoringTest, LetterInTheFirstSecondInterrupts)
{
    press(superRight);
    time.advance(990ms);
    press(letterA);
    keyboard.release(letterA);
    release(superRight);
    EXPECT_EQ(takeCalls(), (Calls{"began", "interrupted"}));

    press(superRight);
    time.advance(1000ms);
    press(letterA);
    keyboard.release(letterA);
    release(superRight);
    EXPECT_EQ(takeCalls(), (Calls{"began", "ended"}));
}

TEST_F(KeyMonitoringTest, EventsCarryCodesFlagsAndCharacters)
{
    press(superLeft);
    press(superRight);
    release(superRight); // the left key still holds Command
    press(shiftLeft);
    press(letterA);
    keyboard.release(letterA);
    release(shiftLeft);
    release(superLeft);
    press(escape);

    std::vector<std::tuple<Kind, int, std::uint64_t, QString>> got;
    for (const auto& [scope, kind, event] : seen) {
        EXPECT_EQ(scope, Scope::global);
        got.emplace_back(kind, event.keyCode, event.modifierFlags, event.characters);
    }
    const auto command = ModifierFlags::command;
    const auto shift = ModifierFlags::shift;
    const auto flags = Kind::flagsChanged;
    EXPECT_EQ(got, (decltype(got){{flags, 55, command, u""_s},
                                  {flags, 54, command, u""_s},
                                  {flags, 54, command, u""_s},
                                  {flags, 56, command | shift, u""_s},
                                  {Kind::keyDown, 0, command | shift, u"a"_s},
                                  {flags, 56, command, u""_s},
                                  {flags, 55, 0, u""_s},
                                  {Kind::keyDown, 53, 0, u"\x1b"_s}}));
}

TEST_F(KeyMonitoringTest, OwnInjectionsAreLeftOut)
{
    ownInjections.markInjecting(2, 1s);
    keyboard.press(letterA);
    keyboard.release(letterA);
    press(escape);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event.keyCode, 53);

    // A mark whose keystrokes never came lapses.
    ownInjections.markInjecting(2, 1s);
    time.advance(1s);
    press(letterA);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(KeyMonitoringTest, KeysTypedIntoOurWindowGoToLocalMonitorsOnly)
{
    QWindow window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.isExposed(); }));
    window.requestActivate();
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == &window; }));

    // The hold works through the local monitor; typing in our window never interrupts it.
    press(superRight);
    press(letterA);
    keyboard.release(letterA);
    release(superRight);
    EXPECT_EQ(takeCalls(), (Calls{"began", "ended"}));
    for (const auto& each : seen)
        EXPECT_EQ(each.scope, Scope::local);
}

TEST(AccessibilityTrustTest, XvfbOffersWhatKeyMonitoringAndPastingNeed)
{
    EXPECT_TRUE(X11AccessibilityTrust().isTrusted());
}
