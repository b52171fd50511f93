#include "ui/LiveNudge.h"

#include "platform/linux/XcbConnection.h"
#include "support/ReleaseCounter.h"
#include "support/TextFieldProcess.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"
#include "support/XTestPointer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

// X keycodes of the keys these tests press.
constexpr int letterA = 38;
constexpr int escape = 9;

xcb_window_t inputFocus()
{
    const auto x11 = XcbConnection::open();
    const auto reply =
        xcbOwned(xcb_get_input_focus_reply(x11->get(), xcb_get_input_focus(x11->get()), nullptr));
    return reply ? reply->focus : XCB_NONE;
}

class NudgePanelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keyboard.isConnected());
        pointer.moveTo({0, 0});
    }

    void tap(int xKeycode)
    {
        keyboard.press(xKeycode);
        keyboard.release(xKeycode);
    }
    bool cardShown()
    {
        live.time.runDue();
        return live.card() && live.card()->isExposed();
    }

    LiveNudge live;
    murmo::test::XTestKeyboard keyboard;
    murmo::test::XTestPointer pointer;
};

TEST_F(NudgePanelTest, TypingInAnotherApplicationBringsUpTheCardWhileTheFieldKeepsTheFocus)
{
    murmo::test::TextFieldProcess field;
    ASSERT_TRUE(waitUntil([&] { return field.window() && inputFocus() == field.window(); }, 10s));
    const ApplicationIdentity front = live.frontmost.current();
    EXPECT_EQ(front.pid, field.pid()) << "the field's client is in front";
    EXPECT_FALSE(front.isSameApplication(live.frontmost.own()));

    live.nudge.start();
    for (int i = 0; i < TypingNudge::threshold - 1; ++i)
        tap(letterA);
    ASSERT_TRUE(waitUntil([&] { return field.text().size() == 119; }, 10s))
        << field.output().toStdString();
    EXPECT_FALSE(cardShown());
    tap(letterA);
    ASSERT_TRUE(waitUntil([&] { return cardShown(); }, 10s));

    QQuickWindow& card = *live.card();
    EXPECT_EQ(live.cardModel()->keyLabel(), u"right Super"_s);
    EXPECT_EQ(card.position(), QPoint(640 - card.width() / 2, 800 - 78 - card.height()))
        << "centred, 78 points above the bottom of the screen";
    // A click on the card, beside its button, leaves the focus where it was.
    murmo::test::ReleaseCounter releases;
    card.installEventFilter(&releases);
    pointer.moveTo(card.position() + QPoint(card.width() / 4, card.height() / 2));
    pointer.click();
    ASSERT_TRUE(waitUntil([&] { return releases.releases == 1; }, 10s));
    EXPECT_TRUE(live.nudge.state().showing());
    EXPECT_EQ(inputFocus(), field.window());
    tap(letterA);
    EXPECT_TRUE(waitUntil([&] { return field.text().size() == 121; }, 10s))
        << "typing still reaches the field";

    tap(escape);
    EXPECT_TRUE(waitUntil([&] { return !live.nudge.state().showing(); }, 10s));
    EXPECT_TRUE(live.card()) << "fading";
    live.time.advance(TypingNudge::fadeDuration);
    EXPECT_FALSE(live.card()) << "closed";
    EXPECT_EQ(inputFocus(), field.window());
}

TEST_F(NudgePanelTest, CountsDownToTheCrossAsTheCardBeginsToFade)
{
    live.nudge.show();
    ASSERT_TRUE(waitUntil([&] { return cardShown(); }, 10s));
    NudgeModel& model = *live.cardModel();
    EXPECT_EQ(model.secondsLeft(), 5);
    live.time.advance(TypingNudge::showDuration);
    EXPECT_FALSE(model.secondsVisible()) << "the cross";
    EXPECT_FALSE(live.nudge.state().showing());
    live.time.advance(TypingNudge::fadeDuration);
    EXPECT_FALSE(live.card());
}

} // namespace
