#pragma once

#include <QQuickImageProvider>

// Paints the module's monochrome symbols in any colour, for "image://symbol/NAME/COLOR" (NAME
// as Symbols knows it, COLOR as QML writes a colour, "#rrggbb" or "#aarrggbb").
class SymbolProvider final : public QQuickImageProvider
{
public:
    SymbolProvider();

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    // The icon resource of a symbol; empty for an unknown one.
    static QString path(QStringView symbol);
    // The symbol `name` in `color`, at `size` (its own size when invalid); null when unknown.
    static QImage render(const QString& name, const QColor& color, QSize size);
};
