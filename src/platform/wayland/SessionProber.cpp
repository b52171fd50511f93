#include "platform/wayland/SessionProber.h"

#include "platform/wayland/EvdevKeyEventMonitors.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/WaylandConnection.h"

#include <QDBusMessage>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace {

// A property of one portal interface; invalid when the portal or the interface is absent.
QVariant portalProperty(QDBusConnection& bus, const QString& interface, const QString& name)
{
    QDBusMessage get =
        QDBusMessage::createMethodCall(PortalRequest::service, PortalRequest::path,
                                       u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << u"org.freedesktop.portal."_s + interface << name;
    const QDBusMessage reply =
        bus.call(get, QDBus::Block, static_cast<int>(SessionProber::portalAnswerLimit.count()));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

} // namespace

SessionProbe SessionProber::probe(const WaylandConnection* wayland, QDBusConnection bus,
                                  bool keyboardReadingChosen)
{
    SessionProbe probe;
    if (!wayland)
        return probe;
    probe.display = SessionProbe::Display::wayland;
    probe.waylandDisplay = QString::fromLocal8Bit(qgetenv("WAYLAND_DISPLAY"));
    probe.seat = wayland->seat() != nullptr;
    probe.dataControl = wayland->dataControl() != nullptr;
    probe.virtualKeyboard = wayland->virtualKeyboard() != nullptr;

    probePortal(bus, probe);
    probe.keyboardReadingChosen = keyboardReadingChosen;
    const auto census = EvdevKeyEventMonitors::census();
    probe.keyboards = census.keyboards;
    probe.readableKeyboards = census.readable;
    return probe;
}

void SessionProber::probePortal(QDBusConnection bus, SessionProbe& probe)
{
    if (!bus.isConnected())
        return;
    probe.globalShortcutsVersion = portalProperty(bus, u"GlobalShortcuts"_s, u"version"_s).toInt();
    probe.remoteDesktopVersion = portalProperty(bus, u"RemoteDesktop"_s, u"version"_s).toInt();
    if (probe.remoteDesktopVersion > 0) {
        constexpr uint keyboardDevice = 1;
        probe.remoteDesktopKeyboard =
            portalProperty(bus, u"RemoteDesktop"_s, u"AvailableDeviceTypes"_s).toUInt() &
            keyboardDevice;
        probe.clipboardVersion = portalProperty(bus, u"Clipboard"_s, u"version"_s).toInt();
    }
}
