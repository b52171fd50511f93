#pragma once

#include <QEvent>
#include <QObject>

namespace murmo::test {

// Counts the mouse releases a window received, so a test knows a click has been handled.
class ReleaseCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            ++releases;
        return false;
    }
    int releases = 0;
};

} // namespace murmo::test
