#pragma once

#include <QObject>

// A top-level window the controller keeps while it exists.
class AppWindow : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Brings the window to the front and gives it the keyboard focus.
    virtual void present() = 0;
    virtual void close() = 0;

Q_SIGNALS:
    // The user is closing the window.
    void closing();
};
