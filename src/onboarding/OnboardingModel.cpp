#include "onboarding/OnboardingModel.h"

#include "api/OnboardingRequests.h"
#include "core/DictationController.h"
#include "input/Recorder.h"
#include "onboarding/OnboardingOptions.h"
#include "onboarding/SpokenLanguages.h"
#include "platform/AccessibilityTrust.h"
#include "platform/MicrophoneAccess.h"
#include "platform/Scheduler.h"
#include "preferences/Preferences.h"

#include <QRegularExpression>

#include <cmath>

namespace {

ObStep stepAfter(ObStep step)
{
    return static_cast<ObStep>(static_cast<int>(step) + 1);
}

ObStep stepBefore(ObStep step)
{
    return static_cast<ObStep>(static_cast<int>(step) - 1);
}

} // namespace

OnboardingModel::OnboardingModel(DictationController* controller, const Services& services,
                                 QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_services(services)
    , m_axGranted(services.trust.isTrusted())
    , m_micGranted(services.microphone.isAuthorized())
    , m_speakLang(services.preferences.speakLang())
    , m_speakLangs(SpokenLanguages::fromPreferredLanguages(services.preferredLanguages))
{
    // Every answer that a gate reads announces the gate with it.
    for (auto answer : {&OnboardingModel::stepChanged, &OnboardingModel::sourceChanged,
                        &OnboardingModel::roleChanged, &OnboardingModel::typingContextsChanged,
                        &OnboardingModel::storageChanged, &OnboardingModel::permissionsChanged,
                        &OnboardingModel::learnDoneChanged})
        connect(this, answer, this, &OnboardingModel::canContinueChanged);
    if (m_controller)
        connect(m_controller, &DictationController::hotkeyChanged, this,
                &OnboardingModel::hotkeyChanged);
}

OnboardingModel::~OnboardingModel()
{
    stopHoldTest();
}

bool OnboardingModel::canContinue() const
{
    switch (m_step) {
    case ObStep::source:
        return m_source.has_value();
    case ObStep::about:
        return m_role.has_value();
    case ObStep::typing:
        return !m_typingContexts.isEmpty();
    case ObStep::data:
        return m_dataChosen;
    case ObStep::perms:
        return m_axGranted && m_micGranted;
    case ObStep::learn:
        return m_learnDone;
    default:
        return true;
    }
}

Hotkey OnboardingModel::hotkey() const
{
    return m_controller ? m_controller->hotkey() : Hotkeys::fallback;
}

void OnboardingModel::setLearnText(const QString& text)
{
    if (text == m_learnText)
        return;
    m_learnText = text;
    Q_EMIT learnTextChanged();
    if (!text.trimmed().isEmpty())
        setLearnDone();
}

void OnboardingModel::setTypingHoursPerDay(double hours)
{
    if (hours == m_typingHoursPerDay)
        return;
    m_typingHoursPerDay = hours;
    Q_EMIT typingHoursPerDayChanged();
}

void OnboardingModel::advance()
{
    if (!canContinue()) {
        refuse();
        return;
    }
    if (m_step == ObSteps::last) {
        finish();
        return;
    }
    moveTo(stepAfter(m_step), true);
}

void OnboardingModel::goBack()
{
    if (m_step != ObSteps::first)
        moveTo(stepBefore(m_step), true);
}

void OnboardingModel::skipLearning()
{
    if (m_step != ObStep::learn)
        return;
    setLearnDone();
    moveTo(ObStep::hours, false);
}

void OnboardingModel::chooseSource(const QString& label)
{
    if (m_source == label)
        return;
    m_source = label;
    Q_EMIT sourceChanged();
}

void OnboardingModel::chooseRole(const QString& label)
{
    if (m_role == label)
        return;
    m_role = label;
    Q_EMIT roleChanged();
}

void OnboardingModel::toggleContext(const QString& label)
{
    const bool wasChosen = m_typingContexts.contains(label);
    // Kept in the order the options are shown, so that what is stored does not depend on the
    // order of the clicks.
    QStringList chosen;
    for (const auto& option : OnboardingOptions::typingContexts()) {
        if (option.label == label ? !wasChosen : m_typingContexts.contains(option.label))
            chosen.append(option.label);
    }
    m_typingContexts = chosen;
    Q_EMIT typingContextsChanged();
}

void OnboardingModel::chooseStorage(bool cloud)
{
    m_cloudSync = cloud;
    m_dataChosen = true;
    Q_EMIT storageChanged();
    m_services.preferences.setIcloudSync(cloud);
}

void OnboardingModel::saveLanguages(const QStringList& langs, bool autoDetect)
{
    m_speakLangs = langs;
    m_autoDetect = autoDetect;
    m_speakLang = !autoDetect && langs.size() == 1 ? langs.front() : QString();
    Q_EMIT languagesChanged();
    m_services.preferences.setSpeakLang(m_speakLang);
    m_services.preferences.setSpeakLangs(langs);
    m_services.preferences.setAutoDetect(autoDetect);
}

void OnboardingModel::chooseHotkey(Hotkey key)
{
    if (m_controller)
        m_controller->setHotkey(key);
    Q_EMIT hotkeyChanged();
}

void OnboardingModel::requestAccessibility()
{
    m_services.trust.requestAccessibility();
}

void OnboardingModel::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (shown)
        enter(m_step);
    else
        leave(m_step);
}

void OnboardingModel::requestMicrophone()
{
    std::weak_ptr<OnboardingModel*> self = m_self;
    m_services.microphone.requestAccess([self](bool granted) {
        if (const auto model = self.lock())
            (*model)->setPermissions((*model)->m_axGranted, granted);
    });
}

std::optional<int> OnboardingModel::wordsPerMinute(const HistoryItem& item)
{
    if (!item.durationSec || *item.durationSec <= 1.0)
        return std::nullopt;
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    const auto words = item.text.split(whiteSpace, Qt::SkipEmptyParts).size();
    if (words < 3)
        return std::nullopt;
    return static_cast<int>(std::lround(static_cast<double>(words) / (*item.durationSec / 60.0)));
}

void OnboardingModel::moveTo(ObStep step, bool runEnterEffect)
{
    leave(m_step);
    m_step = step;
    Q_EMIT stepChanged();
    if (runEnterEffect)
        enter(step);
}

void OnboardingModel::enter(ObStep step)
{
    switch (step) {
    case ObStep::perms:
        startPermissionPoll();
        break;
    case ObStep::micTest:
        if (m_controller)
            (void)m_services.recorder.start(); // a microphone that fails leaves the meter flat
        break;
    case ObStep::shortcut:
        startHoldTest();
        break;
    case ObStep::learn:
        if (m_controller)
            m_controller->refreshPermissions();
        break;
    case ObStep::nicejob:
        measureLastDictation();
        break;
    default:
        break;
    }
}

void OnboardingModel::leave(ObStep step)
{
    switch (step) {
    case ObStep::perms:
        m_permPoll.cancel();
        break;
    case ObStep::micTest:
        if (m_controller)
            m_services.recorder.cancel();
        break;
    case ObStep::shortcut:
        stopHoldTest();
        break;
    default:
        break;
    }
}

void OnboardingModel::finish()
{
    Preferences& preferences = m_services.preferences;
    preferences.setOnboarded(true);
    preferences.setIcloudSync(m_cloudSync);
    if (m_source)
        preferences.setSource(*m_source);
    if (m_role)
        preferences.setRole(*m_role);
    preferences.setTypingContexts(m_typingContexts);

    m_permPoll.cancel();
    stopHoldTest();
    if (m_controller)
        m_services.recorder.cancel();

    // Nobody waits for the report; the task runs to its end on its own.
    m_services.backend.reportOnboarded(m_source ? std::optional(m_source->toLower())
                                                : std::nullopt);
    if (m_controller)
        m_controller->finishOnboarding();
}

void OnboardingModel::startPermissionPoll()
{
    m_permPoll =
        m_services.scheduler.runEvery(permissionPollInterval, [this] { readPermissions(); });
}

void OnboardingModel::readPermissions()
{
    setPermissions(m_services.trust.isTrusted(), m_services.microphone.isAuthorized());
}

void OnboardingModel::setPermissions(bool ax, bool mic)
{
    if (ax == m_axGranted && mic == m_micGranted)
        return;
    m_axGranted = ax;
    m_micGranted = mic;
    Q_EMIT permissionsChanged();
}

void OnboardingModel::startHoldTest()
{
    stopHoldTest();
    m_holdMonitor = m_services.keys.addMonitor(
        KeyEventMonitors::Scope::local, KeyEventMonitors::Kind::flagsChanged,
        [this](const KeyEvent& event) { holdKeyChanged(event); });
}

void OnboardingModel::stopHoldTest()
{
    if (m_holdMonitor)
        m_services.keys.removeMonitor(*std::exchange(m_holdMonitor, std::nullopt));
    if (m_holdActive && m_controller)
        m_services.recorder.cancel();
    setHoldActive(false);
}

void OnboardingModel::holdKeyChanged(const KeyEvent& event)
{
    const Hotkey key = hotkey();
    if (event.keyCode != Hotkeys::keyCode(key))
        return;
    const bool down = (event.modifierFlags & Hotkeys::modifierFlag(key)) != 0;
    if (down && !m_holdActive && m_controller)
        (void)m_services.recorder.start(); // the meter only; this recording is never sent
    if (!down && m_holdActive && m_controller)
        m_services.recorder.cancel();
    setHoldActive(down);
}

void OnboardingModel::setHoldActive(bool active)
{
    if (active == m_holdActive)
        return;
    m_holdActive = active;
    Q_EMIT holdActiveChanged();
}

void OnboardingModel::measureLastDictation()
{
    const auto newest = m_services.newestDictation();
    if (!newest)
        return;
    if (const auto wpm = wordsPerMinute(*newest)) {
        m_lastWpm = wpm;
        Q_EMIT lastWpmChanged();
    }
}

void OnboardingModel::setLearnDone()
{
    if (m_learnDone)
        return;
    m_learnDone = true;
    Q_EMIT learnDoneChanged();
}

void OnboardingModel::refuse()
{
    if (!m_shake) {
        m_shake = true;
        Q_EMIT shakeChanged();
    }
    m_shakeReset = m_services.scheduler.runAfter(shakeDuration, [this] {
        m_shake = false;
        Q_EMIT shakeChanged();
    });
}
