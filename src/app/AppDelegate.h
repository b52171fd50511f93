#pragma once

#include "core/DictationController.h"

#include <QObject>

// The application's delegate: it makes the one dictation controller when the application is
// made, and sets it up once launching has finished and the event loop runs.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    explicit AppDelegate(const DictationController::Collaborators& collaborators,
                         QObject* parent = nullptr);

    DictationController& controller() { return m_controller; }
    void applicationDidFinishLaunching();

private:
    DictationController m_controller;
};
