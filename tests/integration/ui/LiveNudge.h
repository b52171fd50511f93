#pragma once

#include "fakes/ControllerHarness.h"
#include "nudge/TypingNudge.h"
#include "platform/linux/QtScreenLayout.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11KeyEventMonitors.h"
#include "platform/linux/X11PanelWindowing.h"
#include "platform/linux/X11WorkspaceEvents.h"
#include "platform/linux/XTestInjectionMarker.h"
#include "ui/NudgeModel.h"
#include "ui/NudgePanelFactory.h"
#include "ui/ViewHost.h"

#include <QGuiApplication>
#include <QQuickWindow>

// The model a window of the views binds to, if it is a nudge card's.
inline NudgeModel* modelOf(QWindow* window)
{
    return window ? window->property("nudge").value<NudgeModel*>() : nullptr;
}

// The typing nudge on the real desktop, watching a controller on fakes: keys come through the
// X11 key layer and the card is a real panel. Its time is virtual, so a loaded machine cannot
// break a burst or hurry the countdown.
struct LiveNudge
{
    LiveNudge() { nudge.setController(*dictation.controller); }

    // The card's window, from when the nudge shows until it has faded; none otherwise.
    QQuickWindow* card() const
    {
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (modelOf(window))
                return qobject_cast<QQuickWindow*>(window);
        }
        return nullptr;
    }
    NudgeModel* cardModel() const { return modelOf(card()); }

    ControllerHarness dictation;
    FakeScheduler& time = dictation.time;
    XTestInjectionMarker ownInjections{time};
    X11KeyEventMonitors keys{ownInjections, time};
    X11WorkspaceEvents workspace;
    X11FrontmostApplication frontmost;
    ViewHost views;
    QtScreenLayout screens;
    X11PanelWindowing windowing;
    NudgePanelFactory panels{{views, time, screens, windowing}};
    TypingNudge nudge{{time, time, dictation.preferences, keys, workspace, frontmost, panels}};
};
