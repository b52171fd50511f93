#include "nudge/TypingNudge.h"

#include "fakes/ControllerHarness.h"
#include "fakes/FakeFrontmostApplication.h"
#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeNudgeCards.h"
#include "fakes/FakeWorkspace.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Scope = KeyEventMonitors::Scope;
using Kind = KeyEventMonitors::Kind;

namespace {

double secondsSince1970(Clock::TimePoint time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

class TypingNudgeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        nudge.setController(*dictation.controller);
        nudge.start();
    }

    // `count` keystrokes of `characters`, each `gap` after the one before.
    void type(int count, std::chrono::milliseconds gap = 100ms, const QString& characters = u"a"_s,
              std::uint64_t flags = 0)
    {
        for (int i = 0; i < count; ++i) {
            time.advance(gap);
            keys.send(Scope::global, Kind::keyDown, {0, flags, characters});
        }
    }
    void press(int keyCode) { keys.send(Scope::global, Kind::keyDown, {keyCode, 0, {}}); }
    void advanceTo(Clock::TimePoint moment)
    {
        time.advance(std::chrono::duration_cast<std::chrono::milliseconds>(moment - time.now()));
    }
    // The card is presented and not yet taken down.
    bool showing() const { return cards.onScreen > 0; }

    ControllerHarness dictation;
    FakeScheduler& time = dictation.time;
    Preferences& preferences = dictation.preferences;
    FakeKeyEventMonitors keys;
    FakeWorkspace workspace;
    FakeFrontmostApplication frontmost;
    FakeNudgeCards cards;
    TypingNudge nudge{{time, time, preferences, keys, workspace, frontmost, cards}};
};

TEST_F(TypingNudgeTest, ShowsOnTheHundredAndTwentiethKeystrokeOfAnUnbrokenBurst)
{
    dictation.controller->setHotkey(Hotkey::rightOption);
    type(119, 2000ms); // a gap of exactly two seconds does not break the burst
    EXPECT_EQ(cards.created, 0);
    type(1, 2000ms);
    ASSERT_TRUE(showing());
    EXPECT_EQ(cards.keyLabel, u"right Alt"_s) << "the hold key as a Linux keyboard names it";
    EXPECT_EQ(preferences.nudgeLast(), secondsSince1970(time.now()));

    EXPECT_FALSE(nudge.state().showing()) << "revealed on the next turn, so the card animates in";
    time.runDue();
    EXPECT_TRUE(nudge.state().showing());
}

TEST_F(TypingNudgeTest, APauseOverTwoSecondsOrAnotherApplicationStartsANewBurst)
{
    type(119);
    type(1, 2100ms);
    type(50);
    workspace.change(WorkspaceEvents::Change::activeWindow);
    type(119);
    EXPECT_EQ(cards.created, 0);
    type(1);
    EXPECT_TRUE(showing());
}

TEST_F(TypingNudgeTest, CountsSingleTypedCharactersButNotShortcutsOrControlKeys)
{
    type(115);
    const std::pair<QString, std::uint64_t> ignored[] = {
        {u"\r"_s, 0},
        {u"\t"_s, 0},
        {u"\x1b"_s, 0},
        {u"\x7f"_s, 0},
        {u""_s, 0},
        {u"ab"_s, 0},
        {u"a"_s, ModifierFlags::command},
        {u"a"_s, ModifierFlags::control},
        {u"c"_s, ModifierFlags::control | ModifierFlags::shift},
    };
    for (const auto& [characters, flags] : ignored)
        type(1, 100ms, characters, flags);
    const std::pair<QString, std::uint64_t> counted[] = {
        {u"A"_s, ModifierFlags::shift},
        {u"å"_s, ModifierFlags::option},
        {u"e\u0301"_s, 0},  // one character made of two code points
        {u"👍🏽"_s, 0}, // an emoji with its skin tone
        {u" "_s, ModifierFlags::function},
    };
    for (const auto& [characters, flags] : counted) {
        EXPECT_EQ(cards.created, 0) << "before " << characters.toStdString();
        type(1, 100ms, characters, flags);
    }
    EXPECT_TRUE(showing());
}

TEST_F(TypingNudgeTest, CountsNothingWhileDictatingOnboardingInFrontOrSwitchedOff)
{
    ControllerHarness& d = dictation;
    const std::tuple<const char*, std::function<void()>, std::function<void()>> situations[] = {
        {"recording", [&] { d.startRecording(); }, [&] { d.controller->cancelRecording(); }},
        {"processing", [&] { d.startProcessing(); }, [&] { d.controller->cancelProcessing(); }},
        {"notice", [&] { d.controller->showTransient(Phase::notice(u"Try again"_s)); },
         [&] { time.advance(DictationController::transientDisplay); }},
        {"onboarding", [&] { d.controller->showOnboarding(); },
         [&] { d.controller->finishOnboarding(); }},
        {"Murmo in front", [&] { frontmost.front = frontmost.self; }, [&] { frontmost = {}; }},
        {"Murmo's class on a window without a process id",
         [&] {
             frontmost.front = {std::nullopt, u"Murmo"_s};
         },
         [&] { frontmost = {}; }},
        {"unnamed window of an unnamed process", [&] { frontmost.front = frontmost.self = {}; },
         [&] { frontmost = {}; }},
        {"switched off", [&] { preferences.setNudges(false); },
         [&] { preferences.setNudges(true); }},
    };
    for (const auto& [name, enter, leave] : situations) {
        enter();
        type(130, 10ms);
        EXPECT_EQ(cards.created, 0) << name;
        leave();
        ASSERT_EQ(d.controller->phase(), Phase::idle()) << name;
    }

    // The switch is read at every keystroke; keys typed while it is off do not count.
    type(119);
    preferences.setNudges(false);
    type(1);
    preferences.setNudges(true);
    EXPECT_EQ(cards.created, 0);
    type(1);
    EXPECT_TRUE(showing());
}

TEST_F(TypingNudgeTest, ThreeHoursBetweenNudgesAndADayOfSilenceOnlyAfterTheDismissButton)
{
    type(120);
    const Clock::TimePoint first = time.now();
    time.runDue();
    press(TypingNudge::escapeKeyCode);
    time.advance(TypingNudge::fadeDuration);
    ASSERT_FALSE(showing());
    EXPECT_EQ(preferences.nudgeSuppress(), 0) << "Escape does not silence";

    // A burst ending exactly three hours later is too early; it keeps counting past 120.
    advanceTo(first + 3h - 12s);
    type(120);
    EXPECT_EQ(time.now(), first + 3h);
    EXPECT_EQ(cards.created, 1);
    type(1, 500ms);
    ASSERT_TRUE(showing());

    const Clock::TimePoint dismissed = time.now() + 1s;
    time.advance(1s);
    cards.clickDismiss();
    EXPECT_EQ(preferences.nudgeSuppress(), secondsSince1970(dismissed + 24h));
    time.advance(TypingNudge::fadeDuration);
    EXPECT_FALSE(showing());

    advanceTo(dismissed + 24h - 1ms);
    type(120, 0ms);
    EXPECT_EQ(cards.created, 2) << "silenced for a day";
    type(1, 1ms);
    ASSERT_TRUE(showing()) << "the burst carries on past the silence";

    time.advance(TypingNudge::showDuration + TypingNudge::fadeDuration);
    EXPECT_FALSE(showing());
    EXPECT_EQ(preferences.nudgeSuppress(), secondsSince1970(dismissed + 24h))
        << "timing out does not silence";
}

TEST_F(TypingNudgeTest, TheCardGoesOnEscapeOrAfterFiveSecondsAndFadesForAFifthOfASecond)
{
    type(120);
    time.runDue();
    press(36); // Return
    EXPECT_TRUE(nudge.state().showing()) << "only Escape dismisses";
    press(TypingNudge::escapeKeyCode);
    EXPECT_FALSE(nudge.state().showing());
    time.advance(TypingNudge::fadeDuration - 1ms);
    EXPECT_TRUE(showing()) << "fading";
    time.advance(1ms);
    EXPECT_FALSE(showing());

    preferences.setNudgeLast(0);
    type(120);
    time.advance(TypingNudge::showDuration - 1ms);
    EXPECT_TRUE(nudge.state().showing());
    time.advance(1ms);
    EXPECT_FALSE(nudge.state().showing());
    time.advance(TypingNudge::fadeDuration);
    EXPECT_FALSE(showing());
    EXPECT_EQ(keys.registry.installed().size(), 1u) << "the Escape monitor went with the card";
}

TEST_F(TypingNudgeTest, StartingAgainReplacesTheMonitorsAndStoppingLeavesTheCard)
{
    nudge.start();
    type(60);
    EXPECT_EQ(cards.created, 0) << "each keystroke counted once";
    EXPECT_EQ(keys.registry.installed().size(), 1u);

    type(60);
    ASSERT_TRUE(showing());
    nudge.stop();
    EXPECT_TRUE(showing());
    time.advance(TypingNudge::showDuration + TypingNudge::fadeDuration);
    EXPECT_FALSE(showing());
    preferences.setNudgeLast(0);
    type(200);
    EXPECT_EQ(cards.created, 1) << "stopped";
}

} // namespace
