#pragma once

#include <QList>
#include <QRect>

#include <optional>

// A normal application window on the current desktop.
struct ListedWindow
{
    // In the desktop's coordinates, as ScreenLayout gives them.
    QRect frame;
    // The process that owns the window, when the window says.
    std::optional<qint64> pid;
};

// The windows the user sees, as the window manager lists them.
class WindowList
{
public:
    virtual ~WindowList() = default;
    // Visible normal windows of the current desktop, back to front; desktop backgrounds, docks
    // and panels excluded. None when the list cannot be read.
    virtual std::optional<QList<ListedWindow>> visibleWindows() const = 0;
};
