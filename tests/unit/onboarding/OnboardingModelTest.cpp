#include "onboarding/OnboardingModel.h"

#include "fakes/ControllerHarness.h"
#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeMicrophoneAccess.h"
#include "fakes/FakeOnboardingRequests.h"

#include <QVariant>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Scope = KeyEventMonitors::Scope;
using Kind = KeyEventMonitors::Kind;

namespace {

constexpr int rightCommand = 54;
constexpr int leftCommand = 55;
constexpr int rightOption = 61;

class OnboardingModelTest : public testing::Test
{
protected:
    std::unique_ptr<OnboardingModel> makeModel(DictationController* controller,
                                               QStringList preferred = {u"en-US"_s})
    {
        return std::make_unique<OnboardingModel>(
            controller, OnboardingModel::Services{app.time, app.preferences, app.desktop,
                                                  microphone, app.recorder, keys, backend,
                                                  [this] { return newest; }, preferred});
    }

    void goTo(ObStep target)
    {
        model->chooseSource(u"Podcast"_s);
        model->chooseRole(u"Writer"_s);
        model->toggleContext(u"Notes"_s);
        while (model->step() != target) {
            if (model->step() == ObStep::learn)
                model->setLearnText(u"hi"_s);
            model->advance();
        }
    }

    void sendKey(int keyCode, std::uint64_t flags)
    {
        keys.send(Scope::local, Kind::flagsChanged, {keyCode, flags, {}});
    }

    QVariant stored(const QString& key) const
    {
        const auto value = app.store.value(u"murmo.mac."_s + key);
        return value ? std::visit([](const auto& v) { return QVariant::fromValue(v); }, *value)
                     : QVariant();
    }

    ControllerHarness app{false};
    FakeMicrophoneAccess microphone;
    FakeKeyEventMonitors keys;
    FakeOnboardingRequests backend{app.time};
    std::optional<HistoryItem> newest;
    std::unique_ptr<OnboardingModel> model = makeModel(app.controller.get());
};

TEST_F(OnboardingModelTest, RefusedStepsShakeAndStay)
{
    model->advance();
    ASSERT_EQ(model->step(), ObStep::source);
    model->advance();
    EXPECT_EQ(model->step(), ObStep::source);
    EXPECT_TRUE(model->shake());
    app.time.advance(399ms);
    EXPECT_TRUE(model->shake());
    app.time.advance(1ms);
    EXPECT_FALSE(model->shake());

    model->chooseSource(u"Podcast"_s);
    model->chooseSource(u"Podcast"_s); // choosing it again keeps it
    model->advance();
    EXPECT_EQ(model->step(), ObStep::about);

    // Nothing chosen on the storage step still counts as answered.
    goTo(ObStep::data);
    model->advance();
    EXPECT_EQ(model->step(), ObStep::perms);

    app.desktop.trusted = false;
    model = makeModel(app.controller.get());
    goTo(ObStep::perms);
    model->advance();
    EXPECT_EQ(model->step(), ObStep::perms);
    EXPECT_TRUE(model->shake());
}

TEST_F(OnboardingModelTest, PermissionsArePolledOnlyOnTheirStep)
{
    app.desktop.trusted = false;
    microphone.authorized = false;
    model = makeModel(app.controller.get());
    goTo(ObStep::perms);

    app.desktop.trusted = true;
    microphone.authorized = true;
    app.time.advance(999ms);
    EXPECT_FALSE(model->canContinue()); // the values from creation stand until the first tick
    app.time.advance(1ms);
    EXPECT_TRUE(model->axGranted());
    EXPECT_TRUE(model->micGranted());

    model->advance();
    microphone.authorized = false;
    app.time.advance(5s);
    EXPECT_TRUE(model->micGranted());
    EXPECT_TRUE(app.recorder.isRecording()); // the microphone test is on

    // Going back stops the microphone and polls again.
    model->goBack();
    EXPECT_EQ(model->step(), ObStep::perms);
    EXPECT_FALSE(app.recorder.isRecording());
    EXPECT_EQ(app.recorder.cancels, 1);
    app.time.advance(1s);
    EXPECT_FALSE(model->micGranted());

    // The answer to a request comes later and is taken as it is.
    model->requestMicrophone();
    microphone.answer(true);
    EXPECT_TRUE(model->micGranted());
}

TEST_F(OnboardingModelTest, HoldTestFollowsOnlyTheChosenKey)
{
    goTo(ObStep::shortcut);
    const auto command = ModifierFlags::command;
    app.recorder.starts = 0; // the microphone test before used it
    app.recorder.cancels = 0;

    sendKey(rightOption, ModifierFlags::option);
    sendKey(leftCommand, command);
    EXPECT_FALSE(model->holdActive());
    EXPECT_EQ(app.recorder.starts, 0);

    sendKey(rightCommand, command);
    EXPECT_TRUE(model->holdActive());
    sendKey(rightCommand, command | ModifierFlags::shift);
    EXPECT_EQ(app.recorder.starts, 1);
    sendKey(rightCommand, 0);
    EXPECT_FALSE(model->holdActive());
    EXPECT_EQ(app.recorder.cancels, 1);

    model->chooseHotkey(Hotkey::rightOption);
    EXPECT_EQ(app.controller->hotkey(), Hotkey::rightOption);
    sendKey(rightOption, ModifierFlags::option);
    EXPECT_TRUE(model->holdActive());

    // Leaving the step while the key is down drops the recording and the monitor.
    model->advance();
    EXPECT_FALSE(model->holdActive());
    EXPECT_FALSE(app.recorder.isRecording());
    sendKey(rightOption, ModifierFlags::option);
    EXPECT_FALSE(model->holdActive());
}

TEST_F(OnboardingModelTest, AHiddenWindowKeepsNoMicrophoneOn)
{
    goTo(ObStep::micTest);
    ASSERT_TRUE(app.recorder.isRecording());
    model->setShown(false);
    EXPECT_FALSE(app.recorder.isRecording());
    model->setShown(true);
    EXPECT_TRUE(app.recorder.isRecording());

    model->advance();
    model->setShown(false);
    sendKey(rightCommand, ModifierFlags::command);
    EXPECT_FALSE(model->holdActive()); // no key test either
}

TEST_F(OnboardingModelTest, WithoutTheControllerTheHoldTestJudgesRightCommandAndRecordsNothing)
{
    app.controller->setHotkey(Hotkey::fn);
    model = makeModel(nullptr);
    goTo(ObStep::shortcut);
    sendKey(rightCommand, ModifierFlags::command);
    EXPECT_TRUE(model->holdActive());
    EXPECT_EQ(app.recorder.starts, 0);
}

TEST_F(OnboardingModelTest, PracticeStep)
{
    goTo(ObStep::languages);
    const int monitorStarts = app.keys.starts;
    model->advance();
    EXPECT_EQ(app.keys.starts, monitorStarts + 1); // real dictation works from here on

    model->setLearnText(u" \n\t"_s);
    EXPECT_FALSE(model->learnDone());
    model->advance();
    EXPECT_EQ(model->step(), ObStep::learn);
    model->skipLearning();
    EXPECT_EQ(model->step(), ObStep::hours);
    EXPECT_TRUE(model->learnDone());
}

TEST_F(OnboardingModelTest, WordsPerMinuteOfTheNewestDictation)
{
    HistoryItem item;
    item.text = u"one  two three\nfour"_s;
    item.durationSec = 2.0;
    EXPECT_EQ(OnboardingModel::wordsPerMinute(item), 120);
    item.durationSec = 1.0;
    EXPECT_EQ(OnboardingModel::wordsPerMinute(item), std::nullopt);
    item.durationSec = std::nullopt;
    EXPECT_EQ(OnboardingModel::wordsPerMinute(item), std::nullopt);
    item.durationSec = 20.0;
    item.text = u"two words"_s;
    EXPECT_EQ(OnboardingModel::wordsPerMinute(item), std::nullopt);

    item.text = QStringList(60, u"word"_s).join(u' ');
    newest = item;
    goTo(ObStep::nicejob);
    EXPECT_EQ(model->lastWpm(), 180);
}

TEST_F(OnboardingModelTest, SavedLanguagesDecideTheSingleSpokenLanguage)
{
    const auto save = [&](QStringList langs, bool autoDetect) {
        model->saveLanguages(langs, autoDetect);
        return stored(u"speakLang"_s).toString();
    };
    EXPECT_EQ(save({u"de"_s}, false), u"de"_s);
    EXPECT_EQ(save({u"de"_s, u"en"_s}, false), QString());
    EXPECT_EQ(save({u"de"_s}, true), QString());
    EXPECT_EQ(save({}, false), QString());
    EXPECT_EQ(stored(u"speakLangs"_s).toStringList(), QStringList());
    EXPECT_EQ(stored(u"autoDetect"_s).toBool(), false);

    EXPECT_EQ(makeModel(nullptr, {u"ru-RU"_s, u"de-DE"_s, u"fr-FR"_s})->speakLangs(),
              (QStringList{u"ru"_s, u"de"_s, u"en"_s}));
    EXPECT_EQ(makeModel(nullptr, {u"en-US"_s})->speakLangs(), QStringList{u"en"_s});
    EXPECT_EQ(makeModel(nullptr, {u"haw-US"_s, u"zh-Hans-CN"_s, u"pt"_s})->speakLangs(),
              (QStringList{u"zh"_s, u"pt"_s, u"en"_s}));
}

TEST_F(OnboardingModelTest, FinishingStoresTheAnswersAndHandsBack)
{
    goTo(ObStep::invite);
    model->chooseStorage(true);
    EXPECT_EQ(stored(u"icloudSync"_s), QVariant(true)); // at once, not at the end
    model->chooseStorage(false);
    model->chooseSource(u"X / Twitter"_s);
    model->toggleContext(u"Messages"_s);
    model->toggleContext(u"Emails"_s);
    model->toggleContext(u"Messages"_s);

    model->advance();
    EXPECT_EQ(stored(u"onboarded"_s), QVariant(true));
    EXPECT_EQ(stored(u"icloudSync"_s), QVariant(false));
    EXPECT_EQ(stored(u"source"_s), QVariant(u"X / Twitter"_s));
    EXPECT_EQ(stored(u"role"_s), QVariant(u"Writer"_s));
    EXPECT_EQ(stored(u"typingContexts"_s).toStringList(), (QStringList{u"Emails"_s, u"Notes"_s}));
    ASSERT_EQ(backend.reports.size(), 1u);
    EXPECT_EQ(backend.reports[0], u"x / twitter"_s);
    EXPECT_FALSE(app.controller->onboardingActive());
}

} // namespace
