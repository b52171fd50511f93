#include "core/DictationController.h"

#include "fakes/ControllerHarness.h"
#include "history/HistoryTime.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

DictationResponse answer(const QString& text, std::optional<QString> category = std::nullopt)
{
    return {text, u"raw "_s + text, std::nullopt, std::move(category)};
}

class DictationControllerTest : public testing::Test, protected ControllerHarness
{
protected:
    explicit DictationControllerTest(bool onboarded = true)
        : ControllerHarness(onboarded)
    {}

    void hold(std::chrono::milliseconds duration)
    {
        keys.press();
        time.advance(duration);
        keys.release();
    }

    // Holds long enough, lets the backend answer and the paste happen.
    void dictate(const DictationResponse& response)
    {
        backend.reply(response);
        hold(1s);
        time.advance(backend.latency + 150ms);
    }

    Phase phase() const { return controller->phase(); }
};

TEST_F(DictationControllerTest, HoldShorterThanMinimumIsDiscardedSilently)
{
    for (auto duration : {300ms, 350ms}) {
        hold(duration);
        EXPECT_EQ(phase(), Phase::idle()) << duration.count();
        EXPECT_FALSE(recorder.isRecording());
    }
    time.advance(10s);
    EXPECT_EQ(backend.dictations, 0);
    EXPECT_EQ(recorder.cancels, 2);
    EXPECT_TRUE(windows.pill->visible);
}

TEST_F(DictationControllerTest, DictationRunsFromKeyToInsertedTextAndRecord)
{
    backend.reply(answer(u"  Hello there.\n"_s, u"note"_s));
    keys.press();
    EXPECT_EQ(phase(), Phase::recording());
    time.advance(360ms);
    keys.release();
    EXPECT_EQ(phase(), Phase::processing());
    EXPECT_EQ(backend.lastExt, u"m4a"_s);
    EXPECT_EQ(backend.lastAudio.size(), 4000);
    EXPECT_TRUE(backend.lastRetry);
    const double createdAt = HistoryTime::fromTimePoint(time.now() + backend.latency + 150ms);

    time.advance(backend.latency);
    EXPECT_EQ(controller->lastText(), u"Hello there."_s);
    EXPECT_EQ(inserter.texts, QStringList{u"Hello there."_s});
    EXPECT_TRUE(history.items.isEmpty()) << "recorded only after the insertion";

    time.advance(150ms);
    EXPECT_EQ(phase(), Phase::done());
    ASSERT_EQ(history.items.size(), 1);
    const HistoryItem& item = history.items.front();
    EXPECT_FALSE(item.id.isNull());
    EXPECT_EQ(item.text, u"Hello there."_s);
    EXPECT_EQ(item.raw, u"raw   Hello there.\n"_s);
    EXPECT_DOUBLE_EQ(item.createdAt, createdAt);
    EXPECT_EQ(item.category, u"note"_s);
    EXPECT_DOUBLE_EQ(item.durationSec.value(), 0.36);
    EXPECT_EQ(item.device, u"mac"_s);
    EXPECT_FALSE(item.translatedTo || item.sentAt || item.sentVia);
    EXPECT_EQ(history.saves, 1);
    EXPECT_EQ(history.pushes, 1);

    time.advance(1399ms);
    EXPECT_EQ(phase(), Phase::done());
    time.advance(1ms);
    EXPECT_EQ(phase(), Phase::idle());
}

TEST_F(DictationControllerTest, RecorderProblemsBecomeNotices)
{
    recorder.startError = RecorderError{u"Murmo"_s, 1, u"No microphone available"_s};
    keys.press();
    EXPECT_EQ(phase(), Phase::notice(u"Mic unavailable"_s));
    keys.release();
    time.advance(1400ms);
    EXPECT_EQ(phase(), Phase::idle());

    recorder.startError.reset();
    recorder.take.reset(); // too little audio
    hold(1s);
    EXPECT_EQ(phase(), Phase::notice(u"Didn't catch that"_s));
    EXPECT_EQ(backend.dictations, 0);
}

TEST_F(DictationControllerTest, KeyPressDuringNoticeIsIgnoredButDuringDoneStartsAtOnce)
{
    recorder.take.reset();
    hold(1s);
    keys.press();
    EXPECT_EQ(phase(), Phase::notice(u"Didn't catch that"_s));
    keys.release();
    time.advance(1400ms);
    keys.press();
    EXPECT_EQ(phase(), Phase::recording());
    keys.release();

    recorder.take = Take{QByteArray(4000, 'a'), u"m4a"_s};
    dictate(answer(u"one"_s));
    ASSERT_EQ(phase(), Phase::done());
    keys.press();
    EXPECT_EQ(phase(), Phase::recording());
    time.advance(3s);
    EXPECT_EQ(phase(), Phase::recording()) << "the pending return to idle was cancelled";
}

TEST_F(DictationControllerTest, ClickStartedRecordingIgnoresTheHoldKey)
{
    controller->toggleRecording();
    EXPECT_EQ(phase(), Phase::recording());
    hold(2s);
    EXPECT_EQ(phase(), Phase::recording());
    EXPECT_EQ(recorder.starts, 1);

    backend.reply(answer(u"clicked"_s));
    controller->toggleRecording();
    EXPECT_EQ(phase(), Phase::processing());
    controller->toggleRecording();
    EXPECT_EQ(phase(), Phase::processing()) << "a click while processing does nothing";
    time.advance(2s);
    EXPECT_EQ(history.items.front().durationSec, 2.0);

    time.advance(2s);
    controller->toggleRecording();
    keys.interrupt();
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_EQ(recorder.cancels, 1);
}

TEST_F(DictationControllerTest, BlankBackendTextIsNotInsertedOrRecorded)
{
    dictate(answer(u"first"_s));
    time.advance(2s);
    dictate(answer(u" \n\t \r\n"_s));
    EXPECT_EQ(phase(), Phase::notice(u"Didn't catch that"_s));
    EXPECT_EQ(controller->lastText(), u"first"_s);
    EXPECT_EQ(inserter.texts.size(), 1);
    EXPECT_EQ(history.items.size(), 1);
}

TEST_F(DictationControllerTest, BackendFailuresMapToTheirNotices)
{
    const std::pair<ApiError, QString> cases[] = {
        {ApiError::fromFailure(ApiFailure::noToken),
         u"Couldn't connect to Murmo. Check your internet."_s},
        {ApiError::fromFailure(ApiFailure::noSpeech), u"Didn't catch any speech — try again."_s},
        {ApiError::fromFailure(ApiFailure::server), u"Murmo had a hiccup. Please try again."_s},
        {ApiError::transportError(u"Connection refused"_s), u"Try again"_s},
        {ApiError::decodingError(u"missing raw"_s), u"Try again"_s},
    };
    for (const auto& [error, notice] : cases) {
        backend.fail(error);
        hold(1s);
        time.advance(backend.latency);
        EXPECT_EQ(phase(), Phase::notice(notice));
        time.advance(1400ms);
        EXPECT_EQ(phase(), Phase::idle());
    }

    backend.fail(ApiError::cancellation());
    hold(1s);
    time.advance(backend.latency);
    EXPECT_EQ(phase(), Phase::processing()) << "a cancelled request shows nothing";
    EXPECT_TRUE(history.items.isEmpty());
}

TEST_F(DictationControllerTest, CancelBeforeTheAnswerDropsEverything)
{
    backend.reply(answer(u"never shown"_s));
    hold(1s);
    time.advance(backend.latency / 2);
    controller->cancelProcessing();
    EXPECT_EQ(phase(), Phase::idle());

    time.advance(10s);
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_TRUE(inserter.texts.isEmpty());
    EXPECT_TRUE(history.items.isEmpty());
    EXPECT_TRUE(controller->lastText().isEmpty());
}

TEST_F(DictationControllerTest, CancelDuringInsertionOnlyShortensTheWait)
{
    backend.reply(answer(u"kept"_s));
    hold(1s);
    time.advance(backend.latency + 50ms);
    controller->cancelProcessing();
    EXPECT_EQ(phase(), Phase::idle());

    time.runDue();
    EXPECT_TRUE(inserter.waitCutShort);
    EXPECT_EQ(phase(), Phase::done());
    EXPECT_EQ(history.items.size(), 1);
}

TEST_F(DictationControllerTest, CancelWhileRecordingClosesTheMicrophone)
{
    keys.press();
    controller->cancelProcessing();
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_FALSE(recorder.isRecording());
    keys.release();
    EXPECT_EQ(backend.dictations, 0);
}

TEST_F(DictationControllerTest, SecondNoticeGetsItsOwnFullDisplayTime)
{
    controller->showTransient(Phase::notice(u"first"_s));
    time.advance(1000ms);
    controller->showTransient(Phase::notice(u"second"_s));
    time.advance(1000ms);
    EXPECT_EQ(phase(), Phase::notice(u"second"_s));
    time.advance(400ms);
    EXPECT_EQ(phase(), Phase::idle());
}

TEST_F(DictationControllerTest, InsertionOutcomesDecideNoticeAndClipboard)
{
    inserter.outcome = InsertOutcome::secureInput();
    dictate(answer(u"secret"_s));
    EXPECT_EQ(phase(), Phase::notice(u"Secure field — not inserted"_s));
    EXPECT_EQ(pasteboard.writes, 0);
    time.advance(2s);

    inserter.outcome = InsertOutcome::failed(u"paste event failed"_s);
    dictate(answer(u"by hand"_s));
    EXPECT_EQ(phase(), Phase::notice(u"Copied — press Ctrl+V"_s));
    time.advance(5s);
    EXPECT_EQ(pasteboard.current, PasteboardItem::fromPlainText(u"by hand"_s));
    EXPECT_EQ(history.items.size(), 2) << "the text is recorded whatever the outcome";
}

TEST_F(DictationControllerTest, HiddenPillStillShowsADictation)
{
    controller->hidePill(DictationController::pillHidePeriod);
    EXPECT_FALSE(windows.pill->visible);

    dictate(answer(u"shown anyway"_s));
    EXPECT_TRUE(windows.pill->visible);
    EXPECT_EQ(windows.pill->lastRepositionAnimated, false);
    time.advance(1400ms);
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_FALSE(windows.pill->visible);

    time.advance(1h);
    EXPECT_FALSE(windows.pill->visible) << "no timer brings it back by itself";
    controller->refreshPill();
    EXPECT_TRUE(windows.pill->visible);
}

TEST_F(DictationControllerTest, NothingStartsWithoutTrust)
{
    desktop.trusted = false;
    controller->refreshPermissions();
    EXPECT_FALSE(controller->permissionsGranted());
    keys.press();
    controller->toggleRecording();
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_EQ(recorder.starts, 0);

    desktop.trusted = true;
    const int starts = keys.starts;
    controller->refreshPermissions();
    EXPECT_TRUE(controller->permissionsGranted());
    EXPECT_EQ(keys.starts, starts + 1);
}

TEST_F(DictationControllerTest, HotkeyAssignmentIsStoredAndHandedToTheMonitor)
{
    EXPECT_EQ(keys.hotkey, Hotkey::rightCommand);
    controller->setHotkey(Hotkey::fn);
    EXPECT_EQ(keys.hotkey, Hotkey::fn);
    EXPECT_EQ(store.text(u"murmo.mac.hotkey"_s), u"fn"_s);
}

TEST_F(DictationControllerTest, LaunchInNormalModeWhenOnboardedAndTrusted)
{
    EXPECT_EQ(keys.starts, 1);
    EXPECT_TRUE(windows.pill->visible);
    ASSERT_TRUE(windows.home);
    EXPECT_TRUE(windows.home->shown);
    EXPECT_EQ(windows.home->layout.content, QSize(1200, 780));
    EXPECT_EQ(windows.home->layout.minimum, QSize(1120, 720));
    EXPECT_EQ(windows.home->layout.title, u"Murmo"_s);
    EXPECT_EQ(desktop.mode, ActivationPolicy::Mode::regular);
    EXPECT_EQ(desktop.nudgeStarts, 1);
    EXPECT_EQ(windows.onboardingsCreated, 0);
    EXPECT_EQ(backend.registrations, 1);
    EXPECT_EQ(history.pulls, 1);
}

TEST_F(DictationControllerTest, ClosingHomeDropsTheWindowAndRecreatesItOnDemand)
{
    windows.home->userCloses();
    windows.home->userCloses(); // some window systems announce it twice
    EXPECT_EQ(desktop.mode, ActivationPolicy::Mode::accessory);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(windows.home);

    controller->showHome();
    EXPECT_EQ(windows.homesCreated, 2);
    controller->showHome();
    EXPECT_EQ(windows.homesCreated, 2);
    EXPECT_EQ(windows.home->presents, 2);
}

class FirstLaunchTest : public DictationControllerTest
{
protected:
    FirstLaunchTest()
        : DictationControllerTest(false)
    {}
};

TEST_F(FirstLaunchTest, OnboardingOpensInsteadOfNormalMode)
{
    ASSERT_TRUE(windows.onboarding);
    EXPECT_TRUE(windows.onboarding->shown);
    EXPECT_EQ(windows.onboarding->layout.content, QSize(1200, 764));
    EXPECT_FALSE(windows.onboarding->layout.resizable);
    EXPECT_FALSE(windows.home);
    EXPECT_EQ(keys.starts, 0);
    EXPECT_FALSE(windows.pill->visible);
    EXPECT_EQ(desktop.nudgeStarts, 0);
    EXPECT_EQ(backend.registrations, 1);
}

TEST_F(FirstLaunchTest, ClosingHomeDuringOnboardingKeepsTheTaskbarEntry)
{
    controller->showHome();
    windows.home->userCloses();
    EXPECT_EQ(desktop.mode, ActivationPolicy::Mode::regular);
}

TEST_F(FirstLaunchTest, PillStaysOutDuringOnboardingExceptForTransients)
{
    controller->refreshPill();
    EXPECT_FALSE(windows.pill->visible);
    controller->showTransient(Phase::done());
    EXPECT_TRUE(windows.pill->visible);
    time.advance(1400ms);
    EXPECT_FALSE(windows.pill->visible);
}

TEST_F(FirstLaunchTest, FinishingOnboardingEntersNormalMode)
{
    controller->finishOnboarding();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(windows.onboarding);
    EXPECT_EQ(keys.starts, 1);
    EXPECT_TRUE(windows.pill->visible);
    EXPECT_EQ(history.pulls, 2);
    ASSERT_TRUE(windows.home);
    EXPECT_TRUE(windows.home->shown);
    EXPECT_EQ(desktop.nudgeStarts, 1);

    controller->showOnboarding();
    EXPECT_EQ(windows.onboardingsCreated, 2);
}

TEST_F(DictationControllerTest, DestroyingTheControllerMidRequestIsHarmless)
{
    backend.reply(answer(u"orphan"_s));
    hold(1s);
    controller.reset();
    time.advance(5s);
    EXPECT_TRUE(history.items.isEmpty());
    keys.press(); // callbacks hold the controller weakly
}

} // namespace
