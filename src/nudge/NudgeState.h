#pragma once

#include <QObject>

// What the nudge card's view watches: whether the card is showing. Turning true lets the card
// animate in and starts its countdown; turning false lets it fade out.
class NudgeState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool showing READ showing NOTIFY showingChanged)

public:
    using QObject::QObject;

    bool showing() const { return m_showing; }
    void setShowing(bool showing);

Q_SIGNALS:
    void showingChanged();

private:
    bool m_showing = false;
};
