#include "ui/NudgeModel.h"

#include "nudge/NudgeState.h"

#include <algorithm>

using namespace Qt::StringLiterals;

NudgeModel::NudgeModel(NudgeState& state, QString keyLabel, std::function<void()> onDismiss,
                       Scheduler& scheduler, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_onDismiss(std::move(onDismiss))
    , m_scheduler(scheduler)
    , m_keyLabel(std::move(keyLabel))
{
    connect(&state, &NudgeState::showingChanged, this, &NudgeModel::followShowing);
}

NudgeModel::~NudgeModel() = default;

bool NudgeModel::showing() const
{
    return m_state.showing();
}

// Quick to start, gentle to settle: the cubic Bézier (0, 0) (0.58, 1).
QEasingCurve NudgeModel::easeOutCurve()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment({0, 0}, {0.58, 1}, {1, 1});
    return curve;
}

QString NudgeModel::headlineText() const
{
    return u"Typing a lot? Dictate it <font color=\"%1\">3× faster</font>"_s.arg(
        m_emphasisColor.name());
}

void NudgeModel::dismiss()
{
    m_onDismiss();
}

// Every showing counts down from five afresh; a dismissal stops the count where it is.
void NudgeModel::followShowing()
{
    m_tick.cancel();
    if (m_state.showing()) {
        m_steps = 0;
        setSecondsLeft(countdownSeconds);
        m_tick = m_scheduler.runEvery(std::chrono::seconds(1), [this] { step(); });
    }
    Q_EMIT showingChanged();
}

void NudgeModel::step()
{
    ++m_steps;
    setSecondsLeft(std::max(0, countdownSeconds - m_steps));
    if (m_steps >= countdownSeconds)
        m_tick.cancel();
}

void NudgeModel::setSecondsLeft(int seconds)
{
    if (seconds == m_secondsLeft)
        return;
    m_secondsLeft = seconds;
    Q_EMIT secondsLeftChanged();
}
