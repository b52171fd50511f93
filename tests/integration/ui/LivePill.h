#pragma once

#include "fakes/ControllerHarness.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/QtScreenLayout.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11PanelWindowing.h"
#include "platform/linux/X11WindowList.h"
#include "platform/linux/X11WorkspaceEvents.h"
#include "ui/PillModel.h"
#include "ui/PillPanel.h"
#include "ui/ViewHost.h"

#include <QQuickWindow>

// The status pill on the real desktop, in real time, watching a controller on fakes.
struct LivePill
{
    ControllerHarness dictation;
    ViewHost views;
    SystemClock clock;
    QtScheduler scheduler;
    QtScreenLayout screens;
    X11WindowList windows;
    X11WorkspaceEvents workspace;
    X11PanelWindowing windowing;
    qreal level = 0.5;
    PillPanel panel{*dictation.controller,
                    [this] { return level; },
                    {views, clock, scheduler, screens, windows, workspace, windowing}};

    // Where the panel is ordered in, as the controller does it.
    void show()
    {
        panel.reposition(false);
        panel.orderFront();
    }
    QQuickWindow& window() { return panel.window(); }
    PillModel& model() { return panel.model(); }
    // The middle of the capsule on the screen.
    QPoint capsuleCentre()
    {
        const QRect capsule =
            PillPlacement::capsuleRect(model().capsuleWidth(), PillLook::capsuleHeight);
        return window().position() + capsule.center();
    }
};
