#pragma once

#include "platform/PanelWindowing.h"
#include "platform/ScreenLayout.h"
#include "platform/WindowList.h"
#include "platform/WorkspaceEvents.h"
#include "platform/linux/WorkspaceObserverRegistry.h"

#include <map>

// A desktop a test lays out by hand: screens, mouse, window list and workspace changes; and
// what was asked of the panels' windows.
class FakeWorkspace final : public ScreenLayout,
                            public WindowList,
                            public WorkspaceEvents,
                            public PanelWindowing
{
public:
    QList<ScreenArea> screens() const override { return screenAreas; }
    QPoint mousePosition() const override { return mouse; }
    std::optional<QList<ListedWindow>> visibleWindows() const override { return windows; }
    WorkspaceObserver addObserver(Handler handler) override
    {
        return observers.add(std::move(handler));
    }
    void removeObserver(WorkspaceObserver observer) override { observers.remove(observer); }
    void makeFloating(WindowId window) override { ++floatingRequests[window]; }
    void setInputRegion(WindowId window, const QList<QRect>& region) override
    {
        inputRegions[window] = region;
    }
    void setBlurRegion(WindowId window, const QList<QRect>& region) override
    {
        blurRegions[window] = region;
    }

    void change(Change what) { observers.notify(what); }

    QList<ScreenArea> screenAreas;
    QPoint mouse;
    std::optional<QList<ListedWindow>> windows = QList<ListedWindow>{};
    WorkspaceObserverRegistry observers;
    std::map<WindowId, int> floatingRequests;
    std::map<WindowId, QList<QRect>> inputRegions;
    std::map<WindowId, QList<QRect>> blurRegions;
};
