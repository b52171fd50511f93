#include "core/DictationController.h"

#include "api/DictationBackend.h"
#include "core/Sleep.h"
#include "core/TextInserter.h"
#include "core/WindowFactory.h"
#include "history/DictationHistory.h"
#include "history/HistoryTime.h"
#include "input/HoldKeySource.h"
#include "input/Recorder.h"
#include "nudge/NudgeStarter.h"
#include "platform/AccessibilityTrust.h"
#include "platform/ActivationPolicy.h"
#include "platform/Pasteboard.h"
#include "preferences/Preferences.h"

#include <QLoggingCategory>
#include <QMetaEnum>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

// Off unless asked for (QT_LOGGING_RULES="murmo.dictation.debug=true"): each step of a dictation,
// for whoever watches Murmo from outside, such as its end-to-end tests.
Q_LOGGING_CATEGORY(lcDictation, "murmo.dictation", QtWarningMsg)

const QString micUnavailable = u"Mic unavailable"_s;
const QString didntCatchThat = u"Didn't catch that"_s;
const QString tryAgain = u"Try again"_s;
const QString secureField = u"Secure field — not inserted"_s;
const QString copiedPressPaste = u"Copied — press Ctrl+V"_s;
const QString deviceLabel = u"mac"_s;

const WindowLayout homeLayout{{1200, 780}, {1120, 720}, u"Murmo"_s, true, true};
const WindowLayout onboardingLayout{{1200, 764}, {}, {}, false, false};

double seconds(Clock::TimePoint::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

} // namespace

DictationController::DictationController(const Collaborators& c, QObject* parent)
    : QObject(parent)
    , m_clock(c.clock)
    , m_scheduler(c.scheduler)
    , m_preferences(c.preferences)
    , m_trust(c.trust)
    , m_pasteboard(c.pasteboard)
    , m_activation(c.activation)
    , m_recorder(c.recorder)
    , m_monitor(c.monitor)
    , m_backend(c.backend)
    , m_inserter(c.inserter)
    , m_history(c.history)
    , m_windows(c.windows)
    , m_nudge(c.nudge)
    , m_hotkey(c.preferences.hotkey())
{}

DictationController::~DictationController()
{
    // Pending tasks wake up, find the controller gone and end.
    m_hideTask.request_stop();
    m_processTask.request_stop();
}

void DictationController::setHotkey(Hotkey hotkey)
{
    const bool changed = hotkey != m_hotkey;
    m_hotkey = hotkey;
    m_preferences.setHotkey(hotkey);
    m_monitor.setHotkey(hotkey);
    if (changed)
        Q_EMIT hotkeyChanged();
}

void DictationController::setUp()
{
    m_pill = m_windows.createPill();

    m_monitor.setHotkey(m_hotkey);
    const QPointer<DictationController> self(this);
    m_monitor.setCallbacks({
        .onHoldBegan =
            [self] {
                if (self)
                    self->startRecording(Source::hold);
            },
        .onHoldEnded =
            [self] {
                if (self && self->m_source == Source::hold)
                    self->finishRecording();
            },
        .onInterrupted =
            [self] {
                if (self)
                    self->cancelRecording();
            },
    });

    readTrust();
    if (m_preferences.onboarded() && m_permissionsGranted) {
        enterNormalMode();
        showHome();
        m_nudge.start();
    } else {
        showOnboarding();
    }

    m_backend.registerInstallation(); // runs on by itself; nobody waits for it
    m_history.pull();
    qCDebug(lcDictation) << "set up";
}

void DictationController::startRecording(Source source)
{
    if (!m_permissionsGranted)
        return;
    if (m_phase.kind() != Phase::Kind::idle && m_phase.kind() != Phase::Kind::done)
        return;
    cancelHideTask();
    if (m_recorder.start()) {
        showTransient(Phase::notice(micUnavailable));
        return;
    }
    m_source = source;
    setPhase(Phase::recording());
    refreshPill();
}

void DictationController::finishRecording()
{
    if (m_phase.kind() != Phase::Kind::recording)
        return;
    if (m_recorder.isRecording()) {
        const auto held = m_clock.now() - m_recorder.startedAt();
        if (held > minimumHold) {
            std::optional<Take> take = m_recorder.stop();
            if (!take) {
                showTransient(Phase::notice(didntCatchThat));
                return;
            }
            setPhase(Phase::processing());
            // A task still running from before is left to finish; only its handle is replaced.
            m_processTask = std::stop_source();
            process(std::move(*take), seconds(held), m_processTask.get_token());
            return;
        }
    }
    m_recorder.cancel();
    setPhase(Phase::idle());
    refreshPill();
}

void DictationController::cancelRecording()
{
    if (m_phase.kind() != Phase::Kind::recording)
        return;
    m_recorder.cancel();
    setPhase(Phase::idle());
    refreshPill();
}

void DictationController::toggleRecording()
{
    switch (m_phase.kind()) {
    case Phase::Kind::idle:
    case Phase::Kind::done:
        startRecording(Source::toggle);
        break;
    case Phase::Kind::recording:
        finishRecording();
        break;
    case Phase::Kind::processing:
    case Phase::Kind::notice:
        break;
    }
}

void DictationController::cancelProcessing()
{
    m_processTask.request_stop();
    m_processTask = std::stop_source(std::nostopstate);
    // The pill must not say idle while the microphone is still open.
    if (m_phase.kind() == Phase::Kind::recording)
        m_recorder.cancel();
    setPhase(Phase::idle());
    refreshPill();
}

QCoro::Task<> DictationController::process(Take take, double holdSeconds, std::stop_token stop)
{
    const QPointer<DictationController> self(this);
    const DictateResult result = co_await m_backend.dictate(take.data, take.ext, true);
    qCDebug(lcDictation) << "answered";
    if (!self || stop.stop_requested())
        co_return;
    if (const auto* error = std::get_if<ApiError>(&result)) {
        handleDictateFailure(*error);
        co_return;
    }

    const auto& response = std::get<DictationResponse>(result);
    const QString text = response.text.trimmed();
    if (text.isEmpty()) {
        showTransient(Phase::notice(didntCatchThat));
        co_return;
    }
    m_lastText = text;
    Q_EMIT lastTextChanged();

    const InsertOutcome outcome = co_await m_inserter.insertText(text, stop);
    if (!self)
        co_return;
    switch (outcome.kind) {
    case InsertOutcome::Kind::inserted:
        showTransient(Phase::done());
        break;
    case InsertOutcome::Kind::secureInput:
        showTransient(Phase::notice(secureField));
        break;
    case InsertOutcome::Kind::failed:
        // Left on the clipboard for the user to paste by hand; nothing restores it.
        m_pasteboard.setPlainText(text);
        showTransient(Phase::notice(copiedPressPaste));
        break;
    }
    record(response, text, holdSeconds);
}

void DictationController::handleDictateFailure(const ApiError& error)
{
    switch (error.kind) {
    case ApiError::Kind::cancelled:
        return;
    case ApiError::Kind::failure:
        showTransient(Phase::notice(error.description()));
        return;
    case ApiError::Kind::transport:
    case ApiError::Kind::decoding:
        showTransient(Phase::notice(tryAgain));
        return;
    }
}

void DictationController::record(const DictationResponse& response, const QString& text,
                                 double holdSeconds)
{
    HistoryItem item;
    item.id = QUuid::createUuid();
    item.text = text;
    item.raw = response.raw;
    item.createdAt = HistoryTime::fromTimePoint(m_clock.now());
    item.category = response.category;
    item.durationSec = holdSeconds;
    item.device = deviceLabel;
    m_history.prepend(item);
    m_history.save();
    m_history.schedulePush();
}

void DictationController::showTransient(const Phase& phase)
{
    setPhase(phase);
    presentPill();
    cancelHideTask();
    m_hideTask = std::stop_source();
    returnToIdle(phase, m_hideTask.get_token());
}

QCoro::Task<> DictationController::returnToIdle(Phase shown, std::stop_token stop)
{
    const QPointer<DictationController> self(this);
    const bool elapsed = co_await Sleep(m_scheduler, transientDisplay, stop);
    if (!elapsed || stop.stop_requested() || !self)
        co_return;
    if (m_phase == shown)
        setPhase(Phase::idle());
    refreshPill();
}

void DictationController::refreshPill()
{
    if (!m_pill)
        return;
    bool hidden = false;
    if (m_barHiddenUntil) {
        if (m_clock.now() < *m_barHiddenUntil)
            hidden = true;
        else
            m_barHiddenUntil.reset();
    }
    // A dictation in progress or a transient always shows.
    if ((hidden || m_onboardingActive) && m_phase.kind() == Phase::Kind::idle) {
        m_pill->orderOut();
        return;
    }
    presentPill();
}

void DictationController::hidePill(std::chrono::seconds period)
{
    m_barHiddenUntil = m_clock.now() + period;
    if (m_pill)
        m_pill->orderOut();
}

void DictationController::showHome()
{
    m_activation.setMode(ActivationPolicy::Mode::regular);
    if (!m_home) {
        m_home = m_windows.createHomeWindow(homeLayout);
        connect(m_home.get(), &AppWindow::closing, this, &DictationController::onHomeClosing);
    }
    m_home->present();
}

void DictationController::onHomeClosing()
{
    // A window may announce its closing more than once; only the current one's first counts.
    if (!m_home || sender() != m_home.get())
        return;
    // The window is still delivering its own signal: let the event loop delete it.
    m_home.release()->deleteLater();
    if (!m_onboardingActive)
        m_activation.setMode(ActivationPolicy::Mode::accessory);
}

void DictationController::showOnboarding()
{
    m_onboardingActive = true;
    if (m_pill)
        m_pill->orderOut();
    if (!m_onboarding)
        m_onboarding = m_windows.createOnboardingWindow(onboardingLayout);
    m_onboarding->present();
}

void DictationController::finishOnboarding()
{
    m_onboardingActive = false;
    if (m_onboarding) {
        m_onboarding->close();
        // The onboarding screens call this from inside the window.
        m_onboarding.release()->deleteLater();
    }
    readTrust();
    if (m_permissionsGranted)
        enterNormalMode();
    m_history.pull();
    showHome();
    m_nudge.start();
}

void DictationController::refreshPermissions()
{
    readTrust();
    if (m_permissionsGranted)
        m_monitor.start();
}

void DictationController::copyLastTranscript()
{
    if (!m_lastText.isEmpty())
        m_pasteboard.setPlainText(m_lastText);
}

void DictationController::setPhase(const Phase& phase)
{
    if (phase == m_phase)
        return;
    m_phase = phase;
    qCDebug(lcDictation).noquote()
        << "phase" << QMetaEnum::fromType<Phase::Kind>().valueToKey(int(phase.kind()))
        << phase.message();
    Q_EMIT phaseChanged();
}

void DictationController::setPermissionsGranted(bool granted)
{
    if (granted == m_permissionsGranted)
        return;
    m_permissionsGranted = granted;
    Q_EMIT permissionsGrantedChanged();
}

void DictationController::readTrust()
{
    setPermissionsGranted(m_trust.isTrusted());
}

void DictationController::cancelHideTask()
{
    m_hideTask.request_stop();
    m_hideTask = std::stop_source(std::nostopstate);
}

void DictationController::presentPill()
{
    if (!m_pill)
        return;
    m_pill->reposition(false);
    m_pill->orderFront();
}

void DictationController::enterNormalMode()
{
    m_monitor.start();
    presentPill();
}
