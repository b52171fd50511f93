#pragma once

#include <QQuickImageProvider>

// Paints the module's monochrome SVG symbols in any colour, for "image://symbol/NAME/COLOR"
// (COLOR as QML writes a colour, "#rrggbb" or "#aarrggbb").
class SymbolProvider final : public QQuickImageProvider
{
public:
    SymbolProvider();

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    static QString path(const QString& name);
    // The symbol `name` in `color`, at `size` (its own size when invalid); null when unknown.
    static QImage render(const QString& name, const QColor& color, QSize size);
};
