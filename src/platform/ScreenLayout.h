#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// One monitor, in the desktop's coordinates (origin top left, device-independent pixels).
struct ScreenArea
{
    QRect frame;
    // Without the panels and docks the window manager reserves.
    QRect available;
};

// The monitors of the desktop and where the mouse is.
class ScreenLayout
{
public:
    virtual ~ScreenLayout() = default;
    // In the system's order, the primary screen first; empty when there is no screen at all.
    virtual QList<ScreenArea> screens() const = 0;
    virtual QPoint mousePosition() const = 0;
};
