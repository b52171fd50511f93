#include "ui/BottomDock.h"

#include "core/DictationController.h"
#include "ui/PillPalette.h"

using namespace Qt::StringLiterals;

BottomDock::BottomDock(DictationController& controller, QObject* parent)
    : QObject(parent)
    , m_controller(controller)
{
    connect(&m_controller, &DictationController::phaseChanged, this, &BottomDock::recordingChanged);
}

bool BottomDock::recording() const
{
    return m_controller.phase().kind() == Phase::Kind::recording;
}

QString BottomDock::recordSymbol() const
{
    return recording() ? u"stop.fill"_s : u"mic.fill"_s;
}

QColor BottomDock::recordColor() const
{
    return recording() ? PillPalette::errorRed() : PillPalette::accentBlue();
}

void BottomDock::toggleRecording()
{
    m_controller.toggleRecording();
}
