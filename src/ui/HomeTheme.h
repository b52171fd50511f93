#pragma once

#include "ui/PillPalette.h"

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The colours and type sizes of the main window, one place for all its views.
class HomeTheme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QColor background MEMBER m_background CONSTANT)
    Q_PROPERTY(QColor rail MEMBER m_rail CONSTANT)
    Q_PROPERTY(QColor card MEMBER m_card CONSTANT)
    Q_PROPERTY(QColor cardBorder MEMBER m_cardBorder CONSTANT)
    Q_PROPERTY(QColor raised MEMBER m_raised CONSTANT)
    Q_PROPERTY(QColor text MEMBER m_text CONSTANT)
    Q_PROPERTY(QColor secondaryText MEMBER m_secondaryText CONSTANT)
    Q_PROPERTY(QColor faintText MEMBER m_faintText CONSTANT)
    Q_PROPERTY(QColor accent MEMBER m_accent CONSTANT)
    Q_PROPERTY(QColor accentFill MEMBER m_accentFill CONSTANT)
    Q_PROPERTY(QColor selection MEMBER m_selection CONSTANT)
    Q_PROPERTY(QColor good MEMBER m_good CONSTANT)
    Q_PROPERTY(QColor bad MEMBER m_bad CONSTANT)
    Q_PROPERTY(QColor error MEMBER m_error CONSTANT)
    Q_PROPERTY(QColor track MEMBER m_track CONSTANT)
    Q_PROPERTY(int radius MEMBER m_radius CONSTANT)
    Q_PROPERTY(int titleSize MEMBER m_titleSize CONSTANT)
    Q_PROPERTY(int headingSize MEMBER m_headingSize CONSTANT)
    Q_PROPERTY(int bodySize MEMBER m_bodySize CONSTANT)
    Q_PROPERTY(int smallSize MEMBER m_smallSize CONSTANT)
    Q_PROPERTY(int figureSize MEMBER m_figureSize CONSTANT)

public:
    using QObject::QObject;

private:
    QColor m_background = PillPalette::rgb(17, 19, 26);
    QColor m_rail = PillPalette::rgb(12, 13, 18);
    QColor m_card = PillPalette::rgb(27, 30, 41);
    QColor m_cardBorder = PillPalette::white(0.06);
    QColor m_raised = PillPalette::white(0.07);
    QColor m_text = PillPalette::cream();
    QColor m_secondaryText = PillPalette::cream(0.62);
    QColor m_faintText = PillPalette::cream(0.40);
    QColor m_accent = PillPalette::lightBlue();
    QColor m_accentFill = PillPalette::accentBlue();
    QColor m_selection = PillPalette::accentBlue(0.22);
    QColor m_good = PillPalette::successGreen();
    QColor m_bad = PillPalette::warningAmber();
    QColor m_error = PillPalette::errorRed();
    QColor m_track = PillPalette::white(0.08);
    int m_radius = 14;
    int m_titleSize = 26;
    int m_headingSize = 15;
    int m_bodySize = 13;
    int m_smallSize = 11;
    int m_figureSize = 44;
};
