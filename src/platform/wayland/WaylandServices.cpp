#include "platform/wayland/WaylandServices.h"

#include "platform/wayland/DataControlPasteboard.h"
#include "platform/wayland/EvdevKeyEventMonitors.h"
#include "platform/wayland/PortalClipboard.h"
#include "platform/wayland/PortalHoldShortcut.h"
#include "platform/wayland/PortalKeyboard.h"
#include "platform/wayland/RefusingKeyboard.h"
#include "platform/wayland/SessionProber.h"
#include "platform/wayland/VirtualKeyboard.h"
#include "platform/wayland/WaylandConnection.h"

namespace {

// Our own connection to the compositor, in a Wayland session that answers; none otherwise.
std::unique_ptr<WaylandConnection> connectToCompositor()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    return WaylandConnection::connect();
}

} // namespace

SessionCapabilities WaylandServices::probe(QDBusConnection bus, bool readKeyboards)
{
    const auto connection = connectToCompositor();
    return SessionCapabilities::choose(
        SessionProber::probe(connection.get(), std::move(bus), readKeyboards));
}

WaylandServices::WaylandServices(Setup setup)
    : m_setup(std::move(setup))
    , m_connection(connectToCompositor())
    , m_capabilities(SessionCapabilities::choose(
          SessionProber::probe(m_connection.get(), m_setup.bus, m_setup.readKeyboards)))
    , m_pasteboard(&m_setup.x11Pasteboard)
    , m_keyboard(&m_setup.x11Keyboard)
    , m_holdKeyEvents(&m_setup.x11KeyEvents)
{
    using Clipboard = SessionCapabilities::Clipboard;
    using Paste = SessionCapabilities::Paste;
    if (m_capabilities.needsRemoteDesktop())
        m_remoteDesktop = std::make_unique<RemoteDesktopSession>(
            m_setup.bus, m_capabilities.probe().remoteDesktopVersion,
            m_capabilities.clipboard() == Clipboard::portal, m_setup.remoteDesktopToken);

    switch (m_capabilities.clipboard()) {
    case Clipboard::dataControl:
        m_ownPasteboard = std::make_unique<DataControlPasteboard>(*m_connection, m_setup.scheduler);
        break;
    case Clipboard::portal:
        m_ownPasteboard = std::make_unique<PortalClipboard>(*m_remoteDesktop, m_setup.scheduler,
                                                            m_setup.x11Pasteboard);
        break;
    case Clipboard::x11Selection:
        break;
    }
    switch (m_capabilities.paste()) {
    case Paste::virtualKeyboard:
        m_ownKeyboard = std::make_unique<VirtualKeyboard>(*m_connection);
        break;
    case Paste::remoteDesktop:
        m_ownKeyboard = std::make_unique<PortalKeyboard>(*m_remoteDesktop);
        break;
    case Paste::none:
        m_ownKeyboard = std::make_unique<RefusingKeyboard>();
        break;
    case Paste::xtest:
        break;
    }
    if (m_capabilities.hold() == SessionCapabilities::Hold::keyboardDevices)
        m_ownKeyEvents = std::make_unique<EvdevKeyEventMonitors>();

    if (m_ownPasteboard)
        m_pasteboard = m_ownPasteboard.get();
    if (m_ownKeyboard)
        m_keyboard = m_ownKeyboard.get();
    if (m_ownKeyEvents)
        m_holdKeyEvents = m_ownKeyEvents.get();
}

WaylandServices::~WaylandServices() = default;

bool WaylandServices::watchesHoldKey() const
{
    using Hold = SessionCapabilities::Hold;
    return m_capabilities.hold() == Hold::x11Keys || m_capabilities.hold() == Hold::keyboardDevices;
}

void WaylandServices::start(WaylandHoldSource& hold, std::function<void(const QString&)> report)
{
    if (m_remoteDesktop)
        m_remoteDesktop->start();
    if (m_capabilities.hold() != SessionCapabilities::Hold::globalShortcuts)
        return;
    m_shortcut = std::make_unique<PortalHoldShortcut>(m_setup.bus, m_setup.scheduler, hold,
                                                      std::move(report));
    m_shortcut->open();
}
