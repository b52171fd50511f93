#include "support/Screenshots.h"

#include "support/WaitUntil.h"

#include <QLinearGradient>
#include <QPainter>

namespace murmo::test {

void settle(std::chrono::milliseconds period)
{
    waitUntil([] { return false; }, period);
}

QImage onDesktops(const QImage& view, int zoom)
{
    const QSize size = view.size() / view.devicePixelRatio();
    QImage canvas(QSize(size.width() * 2, size.height()) * zoom, QImage::Format_ARGB32);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect left(0, 0, size.width() * zoom, size.height() * zoom);
    const QRect right = left.translated(left.width(), 0);
    QLinearGradient light(left.topLeft(), left.bottomRight());
    light.setColorAt(0, QColor(236, 232, 224));
    light.setColorAt(1, QColor(170, 196, 226));
    painter.fillRect(left, light);
    QLinearGradient dark(right.topLeft(), right.bottomRight());
    dark.setColorAt(0, QColor(40, 44, 60));
    dark.setColorAt(1, QColor(18, 20, 28));
    painter.fillRect(right, dark);
    painter.drawImage(left, view);
    painter.drawImage(right, view);
    return canvas;
}

} // namespace murmo::test
