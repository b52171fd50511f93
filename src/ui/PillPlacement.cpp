#include "ui/PillPlacement.h"

#include <algorithm>
#include <cmath>

namespace PillPlacement {

namespace {

bool fillsScreen(const QRect& window, const QRect& screen)
{
    // Full width, taller than a toolbar, reaching the screen's bottom edge; a window on another
    // monitor does not count even when it has the same size.
    const int screenBottom = screen.y() + screen.height();
    return window.intersects(screen) && window.width() >= screen.width() - 2 &&
           window.height() > 200 && window.y() + window.height() >= screenBottom - 2;
}

} // namespace

std::optional<QPoint> target(const QList<ScreenArea>& screens, QPoint mouse,
                             const std::optional<QList<ListedWindow>>& windows, qint64 ownPid)
{
    if (screens.isEmpty())
        return std::nullopt;
    const auto underMouse = std::find_if(screens.begin(), screens.end(), [&](const ScreenArea& s) {
        return s.frame.contains(mouse);
    });
    const ScreenArea& screen = underMouse != screens.end() ? *underMouse : screens.front();
    const QRect base = isCovered(screen, windows, ownPid) ? screen.frame : screen.available;
    const qreal middle = screen.frame.x() + screen.frame.width() / 2.0;
    const int x = int(std::lround(middle - panelSize.width() / 2.0));
    const int y = base.y() + base.height() + overhang - panelSize.height();
    return QPoint(x, y);
}

bool isCovered(const ScreenArea& screen, const std::optional<QList<ListedWindow>>& windows,
               qint64 ownPid)
{
    if (!windows)
        return false;
    return std::any_of(windows->begin(), windows->end(), [&](const ListedWindow& window) {
        return window.pid != ownPid && fillsScreen(window.frame, screen.frame);
    });
}

bool isCloseEnough(QPoint current, QPoint target)
{
    return std::abs(current.x() - target.x()) <= 1 && std::abs(current.y() - target.y()) <= 1;
}

QRect capsuleRect(int width, int height)
{
    return QRect((panelSize.width() - width) / 2, panelSize.height() - capsuleBottomMargin - height,
                 width, height);
}

} // namespace PillPlacement
