#include "ui/PillModel.h"

#include "core/DictationController.h"
#include "preferences/Hotkey.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr int hoverDuration = 120;
// The phase spring (response 0.32 s, damping fraction 0.7) is within a thousandth of its target
// after half a second.
constexpr int springDuration = 500;

// Progress of the spring at `progress` of springDuration, overshooting a little before it settles.
qreal activateSpring(qreal progress)
{
    if (progress >= 1)
        return 1;
    constexpr qreal response = 0.32;
    constexpr qreal damping = 0.7;
    const qreal omega = 2 * M_PI / response;
    const qreal decay = damping * omega;
    const qreal ringing = omega * std::sqrt(1 - damping * damping);
    const qreal t = progress * springDuration / 1000.0;
    return 1 -
           std::exp(-decay * t) * (std::cos(ringing * t) + decay / ringing * std::sin(ringing * t));
}

QList<qreal> restingWave()
{
    return QList<qreal>(WaveHeights::barCount, WaveHeights::inPoints(WaveHeights::resting));
}

} // namespace

PillModel::PillModel(DictationController& controller, std::function<qreal()> level,
                     const Clock& clock, Scheduler& scheduler, QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_level(std::move(level))
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_look(PillLook::of(controller.phase(), false))
    , m_waveBars(restingWave())
{
    connect(&controller, &DictationController::phaseChanged, this, [this] {
        updateLook(true);
        followRecording();
    });
    connect(&controller, &DictationController::hotkeyChanged, this, &PillModel::keyHintChanged);
    followRecording();
}

PillModel::~PillModel() = default;

void PillModel::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    Q_EMIT hoveringChanged();
    updateLook(false);
}

// The bars take the three blues in turn.
QList<QColor> PillModel::waveBarColors()
{
    const QColor blues[] = {PillPalette::accentBlue(), PillPalette::waveBlue2(),
                            PillPalette::waveBlue3()};
    QList<QColor> colors;
    for (int i = 0; i < WaveHeights::barCount; ++i)
        colors.append(blues[i % 3]);
    return colors;
}

void PillModel::setContentWidth(qreal width)
{
    if (qFuzzyCompare(width, m_contentWidth))
        return;
    m_contentWidth = width;
    Q_EMIT contentWidthChanged();
    Q_EMIT capsuleWidthChanged();
}

// The round ends keep half the capsule's height free on either side of the content.
int PillModel::capsuleWidth() const
{
    const int fitted = int(std::ceil(m_contentWidth)) + PillLook::capsuleHeight;
    return std::min(std::max(m_look.width, fitted), PillLook::maximumWidth);
}

int PillModel::maximumContentWidth() const
{
    return PillLook::maximumWidth - PillLook::capsuleHeight;
}

QString PillModel::noticeText() const
{
    return m_controller.phase().message();
}

int PillModel::transitionDuration() const
{
    return m_phaseTransition ? springDuration : hoverDuration;
}

QEasingCurve PillModel::transitionEasing() const
{
    if (!m_phaseTransition)
        return QEasingCurve(QEasingCurve::InOutQuad);
    QEasingCurve spring;
    spring.setCustomType(activateSpring);
    return spring;
}

QString PillModel::keyHint() const
{
    return Hotkeys::forLinuxKeyboard(Hotkeys::hint(m_controller.hotkey()));
}

void PillModel::click()
{
    m_controller.toggleRecording();
}

void PillModel::cancelProcessing()
{
    m_controller.cancelProcessing();
}

void PillModel::openMenu()
{
    Q_EMIT menuRequested();
}

void PillModel::hideForAnHour()
{
    m_controller.hidePill(DictationController::pillHidePeriod);
}

void PillModel::updateLook(bool phaseChanged)
{
    m_phaseTransition = phaseChanged;
    m_look = PillLook::of(m_controller.phase(), m_hovering);
    Q_EMIT lookChanged();
    Q_EMIT capsuleWidthChanged();
}

// The wave ticks only while recording, so an idle pill runs no timer at all.
void PillModel::followRecording()
{
    const bool recording = m_controller.phase().kind() == Phase::Kind::recording;
    if (recording == m_waveTicking)
        return;
    m_waveTicking = recording;
    if (!recording) {
        m_waveTick.cancel();
        return;
    }
    m_waveBars = restingWave();
    Q_EMIT waveBarsChanged();
    m_waveTick = m_scheduler.runEvery(waveStep, [this] { tickWave(); });
}

void PillModel::tickWave()
{
    const qreal seconds = std::chrono::duration<qreal>(m_clock.now().time_since_epoch()).count();
    const auto heights = WaveHeights::at(m_level(), seconds);
    for (int i = 0; i < WaveHeights::barCount; ++i)
        m_waveBars[i] = WaveHeights::inPoints(heights[std::size_t(i)]);
    Q_EMIT waveBarsChanged();
}
