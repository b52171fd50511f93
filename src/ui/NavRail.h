#pragma once

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The main window's sections, in the rail's order.
enum class NavSection
{
    home,
    history,
    stats,
    settings
};

// The navigation rail: the four sections and the one shown. The window opens on home.
class NavRail : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    // Each {label, symbol}.
    Q_PROPERTY(QVariantList sections READ sections CONSTANT)
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentChanged)

public:
    using QObject::QObject;

    static QVariantList sections();
    NavSection current() const { return m_current; }
    void setCurrent(NavSection section);
    int currentIndex() const { return int(m_current); }
    void setCurrentIndex(int index);

Q_SIGNALS:
    void currentChanged();

private:
    NavSection m_current = NavSection::home;
};
