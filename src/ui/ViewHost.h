#pragma once

#include <QQmlEngine>
#include <QVariantMap>

#include <memory>

class QQuickWindow;

// The QML engine of Murmo's views, with the Murmo.Ui module and its symbols. One per process;
// every window and panel of the application is made here.
class ViewHost
{
public:
    ViewHost();
    ~ViewHost();

    QQmlEngine& engine() { return m_engine; }
    // A top-level window from the module's QML file `name` (a `Window`), with its required
    // properties, typically the model it binds to. Hidden until shown.
    std::unique_ptr<QQuickWindow> createWindow(const QString& name, const QVariantMap& properties);

private:
    QQmlEngine m_engine;
};
