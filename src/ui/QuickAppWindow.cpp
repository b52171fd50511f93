#include "ui/QuickAppWindow.h"

#include <QEvent>
#include <QQuickWindow>

QuickAppWindow::QuickAppWindow(std::unique_ptr<QQuickWindow> window, std::unique_ptr<QObject> model)
    : m_model(std::move(model))
    , m_window(std::move(window))
{
    m_window->installEventFilter(this);
}

QuickAppWindow::~QuickAppWindow() = default;

void QuickAppWindow::present()
{
    m_window->setWindowStates(m_window->windowStates() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}

void QuickAppWindow::close()
{
    m_window->close();
}

bool QuickAppWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close)
        Q_EMIT closing();
    return AppWindow::eventFilter(watched, event);
}
