#include "app/AppDelegate.h"

#include <QLoggingCategory>
#include <QMetaEnum>

namespace {

// Off unless asked for (QT_LOGGING_RULES="murmo.dictation.debug=true"): the phases one by one,
// for whoever watches Murmo from outside, such as its end-to-end tests.
Q_LOGGING_CATEGORY(lcDictation, "murmo.dictation", QtWarningMsg)

} // namespace

AppDelegate::AppDelegate(const DictationController::Collaborators& collaborators, QObject* parent)
    : QObject(parent)
    , m_controller(collaborators)
{
    connect(&m_controller, &DictationController::phaseChanged, this, [this] {
        const Phase phase = m_controller.phase();
        qCDebug(lcDictation).noquote()
            << "phase" << QMetaEnum::fromType<Phase::Kind>().valueToKey(int(phase.kind()))
            << phase.message();
    });
}

void AppDelegate::applicationDidFinishLaunching()
{
    m_controller.setUp();
}
