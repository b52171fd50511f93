#pragma once

#include "platform/WorkspaceEvents.h"
#include "platform/linux/WorkspaceObserverRegistry.h"

#include <QObject>

#include <xcb/xcb.h>

#include <memory>

class QScreen;
class QSocketNotifier;
class XcbConnection;

// Changes of the active window and of the current desktop, from the root window's
// _NET_ACTIVE_WINDOW and _NET_CURRENT_DESKTOP; screen changes from Qt's screen signals (which
// include a dock changing _NET_WORKAREA).
class X11WorkspaceEvents final : public QObject, public WorkspaceEvents
{
    Q_OBJECT

public:
    X11WorkspaceEvents();
    ~X11WorkspaceEvents() override;

    WorkspaceObserver addObserver(Handler handler) override;
    void removeObserver(WorkspaceObserver observer) override;

private:
    void watchRoot();
    void watchScreen(QScreen* screen);
    void readEvents();

    std::unique_ptr<XcbConnection> m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    xcb_atom_t m_activeWindow = XCB_ATOM_NONE;
    xcb_atom_t m_currentDesktop = XCB_ATOM_NONE;
    WorkspaceObserverRegistry m_observers;
};
