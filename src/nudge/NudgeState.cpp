#include "nudge/NudgeState.h"

void NudgeState::setShowing(bool showing)
{
    if (showing == m_showing)
        return;
    m_showing = showing;
    Q_EMIT showingChanged();
}
