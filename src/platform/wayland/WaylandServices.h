#pragma once

#include "platform/KeyEventMonitors.h"
#include "platform/Pasteboard.h"
#include "platform/Scheduler.h"
#include "platform/SyntheticKeyboard.h"
#include "platform/wayland/RemoteDesktopSession.h"
#include "platform/wayland/SessionCapabilities.h"

#include <QDBusConnection>

#include <functional>
#include <memory>

class PortalHoldShortcut;
class WaylandConnection;
class WaylandHoldSource;

// The mechanisms the desktop session offers for watching the hold key, reaching the clipboard
// and posting the paste keystroke, one for each as SessionCapabilities chose them from what the
// session offered at start-up. Where X11's were chosen (an X11 session, or nothing better in a
// Wayland one), the X11 implementations given here serve. Main thread only.
class WaylandServices
{
public:
    struct Setup
    {
        Scheduler& scheduler;
        QDBusConnection bus;
        bool readKeyboards; // the user's choice to let Murmo read /dev/input
        RemoteDesktopSession::TokenStore remoteDesktopToken;
        Pasteboard& x11Pasteboard;
        SyntheticKeyboard& x11Keyboard;
        KeyEventMonitors& x11KeyEvents;
    };

    explicit WaylandServices(Setup setup);
    ~WaylandServices();
    WaylandServices(const WaylandServices&) = delete;
    WaylandServices& operator=(const WaylandServices&) = delete;

    // What the session offers and what is chosen, without building anything: for the report.
    static SessionCapabilities probe(QDBusConnection bus, bool readKeyboards);

    const SessionCapabilities& capabilities() const { return m_capabilities; }
    Pasteboard& pasteboard() { return *m_pasteboard; }
    SyntheticKeyboard& keyboard() { return *m_keyboard; }
    // The key events to watch the hold key in: X11's, or the keyboards' when those are read.
    KeyEventMonitors& holdKeyEvents() { return *m_holdKeyEvents; }
    // Whether those events show the hold key wherever the focus is.
    bool watchesHoldKey() const;

    // Once the event loop runs: the desktop is asked for what needs its (or the user's) consent,
    // the remote-desktop session and the hold shortcut, which then drives `hold`. `report` hears
    // what went wrong there, in words for the user.
    void start(WaylandHoldSource& hold, std::function<void(const QString&)> report);

private:
    Setup m_setup;
    std::unique_ptr<WaylandConnection> m_connection;
    SessionCapabilities m_capabilities;
    std::unique_ptr<RemoteDesktopSession> m_remoteDesktop;
    std::unique_ptr<Pasteboard> m_ownPasteboard;
    std::unique_ptr<SyntheticKeyboard> m_ownKeyboard;
    std::unique_ptr<KeyEventMonitors> m_ownKeyEvents;
    std::unique_ptr<PortalHoldShortcut> m_shortcut;
    Pasteboard* m_pasteboard;
    SyntheticKeyboard* m_keyboard;
    KeyEventMonitors* m_holdKeyEvents;
};
