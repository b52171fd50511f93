#include "app/AppDelegate.h"

AppDelegate::AppDelegate(const DictationController::Collaborators& collaborators, QObject* parent)
    : QObject(parent)
    , m_controller(collaborators)
{}

void AppDelegate::applicationDidFinishLaunching()
{
    m_controller.setUp();
}
