#pragma once

#include <QList>
#include <QRect>

// What a floating panel needs from the window system beyond what Qt's window flags say.
class PanelWindowing
{
public:
    // The native id of a window (QWindow::winId()).
    using WindowId = quintptr;

    virtual ~PanelWindowing() = default;
    // Shows the window on every virtual desktop and keeps it out of taskbars and pagers. Call
    // before the window is first shown.
    virtual void makeFloating(WindowId window) = 0;
    // Only `region` (window coordinates) takes the mouse; clicks beside it reach the windows below.
    virtual void setInputRegion(WindowId window, const QList<QRect>& region) = 0;
    // The compositor blurs what shows through `region`, where it offers that; empty: no blur.
    virtual void setBlurRegion(WindowId window, const QList<QRect>& region) = 0;
};
