#include "FakePortalBackend.h"

#include <QDBusMessage>

using namespace Qt::StringLiterals;

const QString FakePortalBackend::busName = u"org.freedesktop.impl.portal.desktop.murmotest"_s;

namespace {

const QString portalPath = u"/org/freedesktop/portal/desktop"_s;

// What the service calls to close a session, at the session's own path.
class FakeSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.Session")

public Q_SLOTS:
    void Close() {}
};

} // namespace

FakePortalBackend::FakePortalBackend(QDBusConnection connection)
    : bus(std::move(connection))
{
    PortalShortcut::registerType();
    new FakeShortcutsAdaptor(this);
    new FakeRemoteDesktopAdaptor(this);
    bus.registerObject(portalPath, this, QDBusConnection::ExportAdaptors);
    bus.registerService(busName);
}

FakePortalBackend::~FakePortalBackend()
{
    bus.unregisterService(busName);
    bus.unregisterObject(portalPath);
    for (const QString& session : std::as_const(sessions))
        bus.unregisterObject(session);
}

void FakePortalBackend::openSession(const QDBusObjectPath& session)
{
    sessions << session.path();
    auto& object = m_sessionObjects.emplace_back(std::make_unique<FakeSession>());
    bus.registerObject(session.path(), object.get(), QDBusConnection::ExportAllSlots);
}

void FakePortalBackend::closeSession()
{
    bus.send(QDBusMessage::createSignal(sessions.constLast(),
                                        u"org.freedesktop.impl.portal.Session"_s, u"Closed"_s));
}

void FakePortalBackend::emitShortcut(const QString& signal, const QString& id)
{
    QDBusMessage message = QDBusMessage::createSignal(
        portalPath, u"org.freedesktop.impl.portal.GlobalShortcuts"_s, signal);
    message << QVariant::fromValue(QDBusObjectPath(sessions.constLast())) << id << qulonglong(1234)
            << QVariantMap();
    bus.send(message);
}

uint FakeShortcutsAdaptor::CreateSession(const QDBusObjectPath&, const QDBusObjectPath& session,
                                         const QString&, const QVariantMap&, QVariantMap&)
{
    m_backend->openSession(session);
    return 0;
}

uint FakeShortcutsAdaptor::BindShortcuts(const QDBusObjectPath&, const QDBusObjectPath&,
                                         const QList<PortalShortcut>& shortcuts, const QString&,
                                         const QVariantMap&, QVariantMap& results)
{
    m_backend->bound = shortcuts;
    QList<PortalShortcut> assigned = shortcuts;
    for (PortalShortcut& shortcut : assigned)
        shortcut.properties.insert(u"trigger_description"_s, u"Pause"_s);
    results.insert(u"shortcuts"_s, QVariant::fromValue(assigned));
    return m_backend->bindResponse;
}

uint FakeShortcutsAdaptor::ListShortcuts(const QDBusObjectPath&, const QDBusObjectPath&,
                                         QVariantMap&)
{
    return 0;
}

uint FakeRemoteDesktopAdaptor::CreateSession(const QDBusObjectPath&, const QDBusObjectPath& session,
                                             const QString&, const QVariantMap&, QVariantMap&)
{
    m_backend->openSession(session);
    return 0;
}

uint FakeRemoteDesktopAdaptor::SelectDevices(const QDBusObjectPath&, const QDBusObjectPath&,
                                             const QString&, const QVariantMap&, QVariantMap&)
{
    return 0;
}

uint FakeRemoteDesktopAdaptor::Start(const QDBusObjectPath&, const QDBusObjectPath&, const QString&,
                                     const QString&, const QVariantMap&, QVariantMap& results)
{
    results.insert(u"devices"_s, 1u);
    return m_backend->startResponse;
}

void FakeRemoteDesktopAdaptor::NotifyKeyboardKeycode(const QDBusObjectPath&, const QVariantMap&,
                                                     int keycode, uint state)
{
    m_backend->keycodes.append({keycode, state});
}

#include "FakePortalBackend.moc"
