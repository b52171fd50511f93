#include "ui/SymbolProvider.h"

#include "ui/Symbols.h"

#include <QColor>
#include <QPainter>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

SymbolProvider::SymbolProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{}

QString SymbolProvider::path(QStringView symbol)
{
    const QString file = Symbols::iconFile(symbol);
    return file.isEmpty() ? QString() : u":/qt/qml/Murmo/Ui/icons/"_s + file + u".svg"_s;
}

QImage SymbolProvider::render(const QString& name, const QColor& color, QSize size)
{
    QSvgRenderer svg(path(name));
    if (!svg.isValid() || !color.isValid())
        return {};
    const QSize extent = size.isValid() ? size : svg.defaultSize();
    QImage image(extent, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    // The symbol's own colour only marks its shape; paint that shape in the colour asked for.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    return image;
}

QImage SymbolProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    const qsizetype slash = id.lastIndexOf(u'/');
    QImage image = render(id.left(slash), QColor(id.mid(slash + 1)), requestedSize);
    if (size && !image.isNull())
        *size = image.size();
    return image;
}
