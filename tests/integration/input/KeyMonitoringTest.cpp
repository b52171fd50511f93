#include "fakes/FakeScheduler.h"
#include "input/HotkeyMonitor.h"
#include "platform/linux/X11AccessibilityTrust.h"
#include "platform/linux/X11KeyEventMonitors.h"
#include "platform/linux/XTestInjectionMarker.h"
#include "platform/linux/XcbConnection.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"

#include <QGuiApplication>
#include <QWindow>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
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
constexpr int capsLock = 66;

// The real X11 key layer under the real monitor. Time for the monitor is virtual: the first
// second of a hold passes when a test says so, however slowly the machine runs.
class KeyMonitoringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keyboard.isConnected());
        monitor.setCallbacks({[this] { calls += "began "; }, [this] { calls += "ended "; },
                              [this] { calls += "interrupted "; }});
        monitor.start();
        // Installed after the monitor's, so these see each event once the monitor has judged it.
        for (const auto scope : {Scope::global, Scope::local}) {
            for (const auto kind : {Kind::flagsChanged, Kind::keyDown}) {
                ASSERT_TRUE(events.addMonitor(scope, kind, [=, this](const KeyEvent& event) {
                    seen.emplace_back(scope, kind, event);
                }));
            }
        }
    }

    // Presses or releases a key (false) and waits until the layer has delivered its event.
    void key(int xKeycode, bool press = true)
    {
        const auto before = seen.size();
        press ? keyboard.press(xKeycode) : keyboard.release(xKeycode);
        ASSERT_TRUE(waitUntil([&] { return seen.size() > before; }));
    }
    void tapLetter()
    {
        key(letterA);
        keyboard.release(letterA); // makes no event
    }

    FakeScheduler time;
    XTestInjectionMarker ownInjections{time};
    X11KeyEventMonitors events{ownInjections, time};
    HotkeyMonitor monitor{events, time};
    murmo::test::XTestKeyboard keyboard;
    std::string calls;
    std::vector<std::tuple<Scope, Kind, KeyEvent>> seen;
};

} // namespace

TEST_F(KeyMonitoringTest, RightSuperHoldsAndLeftSuperDoesNothing)
{
    key(superLeft);
    key(superLeft, false);
    key(superRight);
    key(superRight, false);
    EXPECT_EQ(calls, "began ended ");

    monitor.setHotkey(Hotkey::rightOption);
    key(superRight);
    key(superRight, false);
    key(altRight);
    key(altRight, false);
    EXPECT_EQ(calls, "began ended began ended ");
}

TEST_F(KeyMonitoringTest, ReleasingRightSuperEndsTheHoldWhileLeftSuperIsDown)
{
    key(superLeft);
    key(superRight);
    key(superRight, false);
    key(superLeft, false);
    EXPECT_EQ(calls, "began ended ");
}

TEST_F(KeyMonitoringTest, LetterInTheFirstSecondInterrupts)
{
    key(superRight);
    time.advance(990ms);
    tapLetter();
    key(superRight, false);
    key(superRight);
    time.advance(1000ms);
    tapLetter();
    key(superRight, false);
    EXPECT_EQ(calls, "began interrupted began ended ");
}

TEST_F(KeyMonitoringTest, CapsLockDoesNotInterruptButARepeatingLetterDoes)
{
    key(superRight);
    for (int i = 0; i < 2; ++i) { // on and off again
        key(capsLock);
        key(capsLock, false);
    }
    key(superRight, false);

    // A letter held from before the hold repeats into it, as it does for the focused window.
    key(letterA);
    key(superRight);
    const auto before = seen.size();
    time.advance(900ms);
    EXPECT_GT(seen.size(), before);
    keyboard.release(letterA);
    key(superRight, false);
    EXPECT_EQ(calls, "began ended began interrupted ");
}

TEST_F(KeyMonitoringTest, EventsCarryCodesFlagsAndCharacters)
{
    key(superLeft);
    key(superRight);
    key(superRight, false); // the left key still holds Command
    key(shiftLeft);
    tapLetter();
    key(escape);

    std::vector<std::tuple<Kind, int, std::uint64_t, QString>> got;
    for (const auto& [scope, kind, event] : seen) {
        EXPECT_EQ(scope, Scope::global);
        got.emplace_back(kind, event.keyCode, event.modifierFlags, event.characters);
    }
    const auto command = ModifierFlags::command;
    const auto rightCommand = command | ModifierFlags::rightCommandKey;
    const auto shift = ModifierFlags::shift;
    const auto flags = Kind::flagsChanged;
    EXPECT_EQ(got, (decltype(got){{flags, 55, command, u""_s},
                                  {flags, 54, rightCommand, u""_s},
                                  {flags, 54, command, u""_s},
                                  {flags, 56, command | shift, u""_s},
                                  {Kind::keyDown, 0, command | shift, u"a"_s},
                                  {Kind::keyDown, 53, command | shift, u"\x1b"_s}}));
}

TEST_F(KeyMonitoringTest, OwnInjectionsAreLeftOut)
{
    ownInjections.markInjecting(2, 1s);
    keyboard.press(letterA);
    keyboard.release(letterA);
    key(escape);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(std::get<KeyEvent>(seen[0]).keyCode, 53);

    // A mark whose keystrokes never came lapses.
    ownInjections.markInjecting(2, 1s);
    time.advance(1s);
    key(letterA);
}

TEST_F(KeyMonitoringTest, KeysTypedIntoOurWindowGoToLocalMonitorsOnly)
{
    QWindow window;
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.isExposed(); }));
    window.requestActivate();
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == &window; }));

    // The hold works through the local monitor; typing in our window never interrupts it.
    key(superRight);
    tapLetter();
    key(superRight, false);
    EXPECT_EQ(calls, "began ended ");
    for (const auto& each : seen)
        EXPECT_EQ(std::get<Scope>(each), Scope::local);
}

TEST(NoDisplayTest, StartingSaysWhatIsMissing)
{
    EXPECT_EQ(XcbConnection::displayProblem(), std::nullopt);
    const QByteArray ours = qgetenv("DISPLAY"); // the desktop wrapper sets no WAYLAND_DISPLAY
    const auto problem = [](const char* display, const char* wayland) {
        display ? qputenv("DISPLAY", display) : qunsetenv("DISPLAY");
        wayland ? qputenv("WAYLAND_DISPLAY", wayland) : qunsetenv("WAYLAND_DISPLAY");
        FakeScheduler time;
        XTestInjectionMarker ownInjections{time};
        X11KeyEventMonitors events{ownInjections, time};
        HotkeyMonitor monitor{events, time};
        const auto reason = monitor.start();
        EXPECT_EQ(reason, XcbConnection::displayProblem());
        return reason.value_or(QString()).toStdString();
    };
    EXPECT_THAT(problem(nullptr, nullptr), testing::HasSubstr("needs an X display"));
    EXPECT_THAT(problem(nullptr, "wayland-0"), testing::HasSubstr("needs XWayland"));
    EXPECT_THAT(problem(":93", nullptr), testing::HasSubstr("cannot reach the X display \":93\""));
    EXPECT_THAT(problem(":93", "wayland-0"), testing::HasSubstr("XWayland"));
    qputenv("DISPLAY", ours);
    qunsetenv("WAYLAND_DISPLAY");
}

TEST(AccessibilityTrustTest, XvfbOffersWhatKeyMonitoringAndPastingNeed)
{
    EXPECT_TRUE(X11AccessibilityTrust().isTrusted());
}
