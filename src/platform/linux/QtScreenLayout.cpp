#include "platform/linux/QtScreenLayout.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QList<ScreenArea> QtScreenLayout::screens() const
{
    QList<ScreenArea> areas;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return areas;
    areas.append({primary->geometry(), primary->availableGeometry()});
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            areas.append({screen->geometry(), screen->availableGeometry()});
    }
    return areas;
}

QPoint QtScreenLayout::mousePosition() const
{
    return QCursor::pos();
}
