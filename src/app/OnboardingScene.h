#pragma once

#include "core/WindowLayout.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class AccessibilityTrust;
class AppWindow;
class DictationController;
class HistoryStore;
class KeyEventMonitors;
class MicrophoneAccess;
class OnboardingRequests;
class Preferences;
class Recorder;
class Scheduler;
class ViewHost;

// Makes the onboarding window: the model of the flow, the view derived from it and the QML
// window, with the desktop's services.
class OnboardingScene
{
public:
    struct Services
    {
        ViewHost& views;
        Scheduler& scheduler;
        Preferences& preferences;
        AccessibilityTrust& trust;
        MicrophoneAccess& microphone;
        Recorder& recorder;
        KeyEventMonitors& keys;
        OnboardingRequests& backend;
        HistoryStore& history;
        // The microphone's current level, 0 to 1.
        std::function<qreal()> level;
        // What this desktop session does not allow, in words for the user; empty when all works.
        std::function<QString()> sessionLimitation;
    };

    explicit OnboardingScene(const Services& services);

    std::unique_ptr<AppWindow> createWindow(DictationController& controller,
                                            const WindowLayout& layout);

private:
    Services m_services;
};
