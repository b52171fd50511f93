#pragma once

#include "core/DictationController.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeDictationBackend.h"
#include "fakes/FakeDictationHistory.h"
#include "fakes/FakeHoldKeySource.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakeRecorder.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeTextInserter.h"
#include "fakes/FakeWindowFactory.h"
#include "fakes/MemoryPreferencesStore.h"
#include "preferences/Preferences.h"

#include <QCoreApplication>

#include <memory>

// A dictation controller on fakes and virtual time, set up and in normal mode, for the
// surfaces that watch it. Its phases are reached the way a user reaches them.
struct ControllerHarness
{
    // Not onboarded, it starts the way a first launch does.
    explicit ControllerHarness(bool onboarded = true)
    {
        preferences.setOnboarded(onboarded);
        controller = std::make_unique<DictationController>(DictationController::Collaborators{
            time, time, preferences, desktop, pasteboard, desktop, recorder, keys, backend,
            inserter, history, windows, desktop});
        controller->setUp();
    }

    ~ControllerHarness()
    {
        // Tasks still pending wake up to a destroyed controller and must end quietly.
        controller.reset();
        time.advance(std::chrono::hours(1));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void startRecording() { keys.press(); }
    // Holds long enough to be sent; the backend has not answered yet.
    void startProcessing()
    {
        keys.press();
        time.advance(std::chrono::seconds(1));
        keys.release();
    }
    // The backend answers, the text is pasted and the phase is done.
    void finishProcessing()
    {
        backend.reply({QStringLiteral("Hello there."), QStringLiteral("hello there"), {}, {}});
        time.advance(backend.latency + std::chrono::milliseconds(150));
    }

    FakeScheduler time;
    MemoryPreferencesStore store;
    Preferences preferences{store};
    FakeDesktop desktop;
    FakePasteboard pasteboard{time};
    FakeRecorder recorder{time};
    FakeHoldKeySource keys;
    FakeDictationBackend backend{time};
    FakeTextInserter inserter{time};
    FakeDictationHistory history;
    FakeWindowFactory windows;
    std::unique_ptr<DictationController> controller;
};
