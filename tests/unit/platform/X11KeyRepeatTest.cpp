#include "platform/linux/X11KeyRepeat.h"

#include "fakes/FakeScheduler.h"

#include <gtest/gtest.h>

#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int letterA = 38;
constexpr int letterB = 56;
constexpr int shift = 50;

class X11KeyRepeatTest : public testing::Test
{
protected:
    // The keys repeated while `duration` passes.
    std::vector<int> after(std::chrono::milliseconds duration)
    {
        time.advance(duration);
        return std::exchange(repeated, {});
    }

    FakeScheduler time;
    std::vector<int> repeated;
    X11KeyRepeat repeat{time, [this](int xKeycode) { repeated.push_back(xKeycode); }};
};

} // namespace

TEST_F(X11KeyRepeatTest, TheLastKeyPressedRepeatsAfterTheDelayUntilReleased)
{
    repeat.setSettings({true, 500ms, 30ms});
    repeat.pressed(letterA, true);
    EXPECT_EQ(after(499ms), std::vector<int>{});
    EXPECT_EQ(after(1ms), std::vector{letterA});
    EXPECT_EQ(after(60ms), (std::vector{letterA, letterA}));

    // A modifier going down does not stop it; another letter takes over from it.
    repeat.pressed(shift, false);
    EXPECT_EQ(after(30ms), std::vector{letterA});
    repeat.pressed(letterB, true);
    EXPECT_EQ(after(499ms), std::vector<int>{});
    EXPECT_EQ(after(1ms), std::vector{letterB});
    // Releasing a key that no longer repeats changes nothing.
    repeat.released(letterA);
    EXPECT_EQ(after(30ms), std::vector{letterB});
    repeat.released(letterB);
    EXPECT_EQ(after(1s), std::vector<int>{});

    // Repeating switched off on this keyboard.
    repeat.setSettings({false, 500ms, 30ms});
    repeat.pressed(letterA, true);
    EXPECT_EQ(after(1s), std::vector<int>{});
}
