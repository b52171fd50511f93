#pragma once

#include "platform/wayland/SessionProbe.h"

#include <QDBusConnection>

#include <chrono>

class WaylandConnection;

// Asks the running session what it offers: the compositor's globals (through `wayland`, null in
// an X11 session), the desktop portal's interfaces and versions on `bus`, and the keyboards
// under /dev/input. Runs once at start-up; every question is bounded.
class SessionProber
{
public:
    // Per portal question; the portal may first have to be started by the bus.
    static constexpr std::chrono::milliseconds portalAnswerLimit{3000};

    static SessionProbe probe(const WaylandConnection* wayland, QDBusConnection bus,
                              bool keyboardReadingChosen);
    // The portal's part alone: its interfaces' versions and the remote desktop's devices.
    static void probePortal(QDBusConnection bus, SessionProbe& probe);
};
