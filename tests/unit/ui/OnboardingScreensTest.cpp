#include "ui/InviteScreen.h"
#include "ui/LanguagePickerModal.h"
#include "ui/OnboardingView.h"

#include "fakes/ControllerHarness.h"
#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeMicrophoneAccess.h"
#include "fakes/FakeOnboardingRequests.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

TEST(InviteScreenTest, AddressCheckFollowsItsFourRules)
{
    const auto check = InviteScreen::checkedAddress;
    EXPECT_EQ(check(u"  Ann@Example.COM\t"_s), u"ann@example.com"_s);
    EXPECT_EQ(check(u"a@b.c"_s), u"a@b.c"_s); // five characters pass
    EXPECT_EQ(check(u"@b.c"_s), std::nullopt);
    EXPECT_EQ(check(u"ann@example"_s), std::nullopt);
    EXPECT_EQ(check(u"ann.b@"_s), std::nullopt);
    EXPECT_EQ(check(u"ann.example.com"_s), std::nullopt);
    EXPECT_EQ(check(u"  a@b. "_s), std::nullopt); // trimmed to four
}

class InviteFlowTest : public testing::Test
{
protected:
    FakeScheduler time;
    FakeOnboardingRequests backend{time};
    InviteScreen screen{backend, time};
};

TEST_F(InviteFlowTest, OneRequestAtATimeAndTheAddressAsSent)
{
    screen.setEmail(u"  Ann@Example.com "_s);
    screen.send();
    screen.send();
    EXPECT_TRUE(screen.sending());
    screen.setEmail(u"bob@example.com"_s); // typing does not hide a reply in flight
    EXPECT_TRUE(screen.sending());
    screen.send();
    EXPECT_EQ(backend.invites, QStringList{u"ann@example.com"_s});
    EXPECT_TRUE(screen.planeVisible());

    time.advance(backend.latency);
    EXPECT_EQ(screen.message(), u"Invite on its way to ann@example.com — add another?"_s);
    EXPECT_TRUE(screen.messageSymbolVisible());
    EXPECT_EQ(screen.email(), QString());
    EXPECT_FALSE(screen.sendEnabled());
    EXPECT_EQ(screen.sendOpacity(), 0.35);
    time.advance(InviteScreen::planeFlight);
    EXPECT_FALSE(screen.planeVisible());

    screen.setEmail(u"c"_s);
    EXPECT_EQ(screen.message(), QString());
}

TEST_F(InviteFlowTest, VerdictsShowTheirLines)
{
    backend.results = {InviteResult::invalid, InviteResult::rateLimited, InviteResult::failed};
    const QStringList expected{u"That doesn't look like an email address."_s,
                               u"That's a lot of invites for today — try again tomorrow."_s,
                               u"Couldn't send just now — check your connection and try again."_s};
    screen.setEmail(u"ann@example.com"_s);
    for (const QString& line : expected) {
        screen.send();
        time.advance(backend.latency);
        EXPECT_EQ(screen.message(), line);
        EXPECT_EQ(screen.messageColor(), QColor(229, 53, 43));
    }
    EXPECT_EQ(backend.invites.size(), 3);
}

TEST(InviteScreenTest, ReplyAfterTheScreenIsGoneIsDropped)
{
    FakeScheduler time;
    FakeOnboardingRequests backend{time};
    auto screen = std::make_unique<InviteScreen>(backend, time);
    screen->setEmail(u"ann@example.com"_s);
    screen->send();
    screen.reset();
    time.advance(backend.latency);
    EXPECT_EQ(backend.invites.size(), 1);
}

TEST(LanguagePickerModalTest, EditsStayUntilSaved)
{
    std::optional<std::pair<QStringList, bool>> saved;
    int dismissals = 0;
    LanguagePickerModal picker(
        {u"ru"_s, u"en"_s}, true,
        [&](const QStringList& codes, bool autoDetect) {
            saved = {codes, autoDetect};
        },
        [&] { ++dismissals; });

    picker.setQuery(u"deu"_s);
    ASSERT_EQ(picker.rows().size(), 1);
    EXPECT_EQ(picker.rows()[0].toMap()[u"nativeName"_s], u"Deutsch"_s);
    picker.toggle(u"de"_s);
    picker.toggle(u"ru"_s);
    picker.setQuery(u"nothing like it"_s);
    EXPECT_TRUE(picker.rows().isEmpty());
    ASSERT_EQ(picker.chips().size(), 2); // still shown while the list is empty
    EXPECT_EQ(picker.chips()[0].toMap()[u"code"_s], u"de"_s);
    picker.setAutoDetect(false);
    EXPECT_FALSE(saved);

    picker.save();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->first, (QStringList{u"de"_s, u"en"_s}));
    EXPECT_FALSE(saved->second);
    EXPECT_EQ(dismissals, 1);

    picker.toggle(u"de"_s);
    picker.toggle(u"en"_s);
    EXPECT_TRUE(picker.noneChosen());
}

class OnboardingViewTest : public testing::Test
{
protected:
    ControllerHarness app{false};
    FakeMicrophoneAccess microphone;
    FakeKeyEventMonitors keys;
    FakeOnboardingRequests backend{app.time};
    OnboardingModel model{app.controller.get(),
                          {app.time,
                           app.preferences,
                           app.desktop,
                           microphone,
                           app.recorder,
                           keys,
                           backend,
                           [] { return std::optional<HistoryItem>(); },
                           {u"de-DE"_s}}};
    qreal level = 0.8;
    OnboardingView view{model, {app.time, backend, [this] { return level; }, {}}};
};

TEST_F(OnboardingViewTest, FiguresOfTheLaterScreens)
{
    EXPECT_EQ(OnboardingView::sectionOf(int(ObStep::welcome)), 0);
    EXPECT_EQ(OnboardingView::sectionOf(int(ObStep::typing)), 1);
    EXPECT_EQ(view.sections()[OnboardingView::sectionOf(int(ObStep::micTest))], u"PERMISSIONS"_s);
    EXPECT_EQ(view.sections()[OnboardingView::sectionOf(int(ObStep::languages))], u"SET UP"_s);
    EXPECT_EQ(view.sections()[OnboardingView::sectionOf(int(ObStep::invite))], u"LEARN"_s);

    EXPECT_EQ(view.savedHours(), u"17"_s);
    model.setTypingHoursPerDay(10);
    EXPECT_EQ(view.savedHours(), u"42"_s);
    EXPECT_EQ(view.typingHoursText(), u"10 hours"_s);

    EXPECT_EQ(view.factorText(), u"2.4× "_s);
    EXPECT_EQ(view.voiceWpm(), u"—"_s);
    EXPECT_EQ(OnboardingView::speedFactor(180), 3.6);

    EXPECT_EQ(view.languageChips(), (QStringList{u"German (Deutsch)"_s, u"English"_s}));
}

TEST_F(OnboardingViewTest, KeyLabelsFollowTheChosenKey)
{
    EXPECT_EQ(view.learnPlaceholder(), u"Click here, hold right Super and speak…"_s);
    view.chooseHotkey(2);
    EXPECT_EQ(app.controller->hotkey(), Hotkey::fn);
    EXPECT_EQ(view.holdHint(), u"Try it right here — hold your fn key"_s);
    EXPECT_EQ(view.learnInstruction(), u"Click into the field, hold fn, speak — then release."_s);
    EXPECT_TRUE(view.hotkeyChoices()[2].toMap()[u"on"_s].toBool());
}

TEST_F(OnboardingViewTest, LevelBarsMoveOnlyWhileTheMicrophoneIsOn)
{
    const auto resting = view.levelBars();
    const auto timers = app.time.pendingCount();
    model.chooseSource(u"Other"_s);
    model.chooseRole(u"Other"_s);
    model.toggleContext(u"Notes"_s);
    while (model.step() != ObStep::micTest)
        model.advance();
    app.time.advance(OnboardingView::levelStep);
    EXPECT_NE(view.levelBars(), resting);
    model.advance();
    EXPECT_EQ(view.levelBars(), resting);
    EXPECT_EQ(app.time.pendingCount(), timers);
}

} // namespace
