#pragma once

#include <QColor>

// The colours of the pill.
namespace PillPalette {

inline QColor rgb(int r, int g, int b, qreal alpha = 1)
{
    QColor color(r, g, b);
    color.setAlphaF(float(alpha));
    return color;
}

inline QColor cream(qreal alpha = 1)
{
    return rgb(244, 240, 232, alpha);
}
inline QColor white(qreal alpha)
{
    return rgb(255, 255, 255, alpha);
}
inline QColor accentBlue(qreal alpha = 1)
{
    return rgb(28, 125, 255, alpha);
}
inline QColor lightBlue()
{
    return rgb(127, 174, 255);
}
inline QColor waveBlue2()
{
    return rgb(75, 144, 255);
}
inline QColor waveBlue3()
{
    return rgb(103, 164, 255);
}
inline QColor successGreen(qreal alpha = 1)
{
    return rgb(67, 224, 138, alpha);
}
inline QColor warningAmber(qreal alpha = 1)
{
    return rgb(255, 179, 64, alpha);
}
inline QColor errorRed(qreal alpha = 1)
{
    return rgb(255, 107, 96, alpha);
}
inline QColor restFill()
{
    return rgb(18, 18, 22, 0.28);
}
inline QColor hoverFill()
{
    return rgb(22, 22, 26, 0.82);
}
inline QColor darkFill()
{
    return rgb(22, 22, 26, 0.86);
}
inline QColor doneFill()
{
    return rgb(16, 26, 20, 0.90);
}
inline QColor waveTop()
{
    return rgb(26, 30, 40, 0.92);
}
inline QColor waveBottom()
{
    return rgb(16, 18, 24, 0.92);
}

} // namespace PillPalette
