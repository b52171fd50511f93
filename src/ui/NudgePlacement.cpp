#include "ui/NudgePlacement.h"

#include <cmath>

namespace NudgePlacement {

std::optional<QPoint> origin(const QList<ScreenArea>& screens, QSize panel)
{
    if (screens.isEmpty())
        return std::nullopt;
    const QRect area = screens.front().available;
    const qreal middle = area.x() + area.width() / 2.0;
    const int x = int(std::lround(middle - panel.width() / 2.0));
    const int y = area.y() + area.height() - bottomGap - panel.height();
    return QPoint(x, y);
}

QRect cardRect(QSize panel)
{
    return QRect(QPoint(0, 0), panel)
        .adjusted(shadowPadding, shadowPadding, -shadowPadding, -shadowPadding);
}

} // namespace NudgePlacement
