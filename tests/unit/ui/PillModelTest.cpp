#include "ui/PillModel.h"

#include "fakes/ControllerHarness.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

class PillModelTest : public testing::Test
{
protected:
    ControllerHarness dictation;
    FakeScheduler viewTime;
    qreal level = 0;
    PillModel pill{*dictation.controller, [this] { return level; }, viewTime, viewTime};
};

TEST_F(PillModelTest, TheWaveFollowsTheLevelTwentyTimesASecondOnlyWhileRecording)
{
    QSignalSpy ticks(&pill, &PillModel::waveBarsChanged);
    EXPECT_EQ(viewTime.pendingCount(), 0u) << "no timer while idle";

    dictation.startRecording();
    EXPECT_EQ(pill.waveBars(), QList<qreal>(8, 0.35 * 15 + 4)) << "bars start at rest";
    ticks.clear();
    viewTime.advance(1s);
    EXPECT_EQ(ticks.size(), 20);

    const auto tallest = [&] {
        const QList<qreal> bars = pill.waveBars();
        return *std::max_element(bars.begin(), bars.end());
    };
    EXPECT_LT(tallest(), 10);
    level = 1;
    viewTime.advance(500ms);
    EXPECT_GT(tallest(), 14);

    dictation.time.advance(1s);
    dictation.keys.release();
    ASSERT_EQ(dictation.controller->phase(), Phase::processing());
    ticks.clear();
    viewTime.advance(1s);
    EXPECT_EQ(ticks.size(), 0);
    EXPECT_EQ(viewTime.pendingCount(), 0u);
}

TEST_F(PillModelTest, PhaseChangesSpringAndHoverEases)
{
    QSignalSpy looks(&pill, &PillModel::lookChanged);
    pill.setHovering(true);
    EXPECT_EQ(pill.capsuleWidth(), 176);
    EXPECT_TRUE(pill.keyHintVisible());
    EXPECT_EQ(pill.transitionDuration(), 120);
    EXPECT_EQ(pill.transitionEasing().type(), QEasingCurve::InOutQuad);

    dictation.startRecording();
    EXPECT_EQ(pill.capsuleWidth(), 180);
    EXPECT_TRUE(pill.waveVisible());
    EXPECT_FALSE(pill.keyHintVisible());
    EXPECT_EQ(pill.transitionDuration(), 500);
    // The spring overshoots a little and settles on its target.
    const QEasingCurve spring = pill.transitionEasing();
    qreal peak = 0;
    for (int step = 0; step <= 100; ++step)
        peak = std::max(peak, spring.valueForProgress(step / 100.0));
    EXPECT_GT(peak, 1.02);
    EXPECT_LT(peak, 1.08);
    EXPECT_EQ(spring.valueForProgress(1), 1);
    EXPECT_EQ(looks.size(), 2);
}

TEST_F(PillModelTest, TheCapsuleGrowsToFitWhatItShowsUpToThePanel)
{
    pill.setHovering(true);
    pill.setContentWidth(120);
    EXPECT_EQ(pill.capsuleWidth(), 176) << "fits within the phase's width";
    pill.setContentWidth(170.2);
    EXPECT_EQ(pill.capsuleWidth(), 171 + 28) << "round ends kept free";
    pill.setContentWidth(500);
    EXPECT_EQ(pill.capsuleWidth(), 312) << "the shadow still fits in the panel";
    EXPECT_EQ(pill.maximumContentWidth(), 312 - 28);
}

TEST_F(PillModelTest, TheKeyHintNamesTheKeyAsALinuxKeyboardDoes)
{
    QSignalSpy hints(&pill, &PillModel::keyHintChanged);
    EXPECT_EQ(pill.keyHint(), u"Hold right Super to dictate"_s);
    dictation.controller->setHotkey(Hotkey::rightOption);
    EXPECT_EQ(pill.keyHint(), u"Hold right Alt to dictate"_s);
    dictation.controller->setHotkey(Hotkey::fn);
    EXPECT_EQ(pill.keyHint(), u"Hold fn to dictate"_s);
    EXPECT_EQ(hints.size(), 2);
}

} // namespace
