#pragma once

#include "core/AppWindow.h"

#include <memory>

class QQuickWindow;

// One of the application's top-level windows as the controller keeps it, drawn by QML. It owns
// its view's window and, when given, the model the view binds to.
class QuickAppWindow final : public AppWindow
{
    Q_OBJECT

public:
    QuickAppWindow(std::unique_ptr<QQuickWindow> window, std::unique_ptr<QObject> model = {});
    ~QuickAppWindow() override;

    void present() override;
    void close() override;

    QQuickWindow& window() const { return *m_window; }

protected:
    // The window system's close request (the title bar's button) as `closing`.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QObject> m_model;
    std::unique_ptr<QQuickWindow> m_window;
};
