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
};
