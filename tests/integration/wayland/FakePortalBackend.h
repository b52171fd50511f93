#pragma once

#include "platform/wayland/PortalShortcut.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QPair>
#include <QVariantMap>

#include <memory>
#include <vector>

// A desktop's side of the GlobalShortcuts and RemoteDesktop portals, for the real
// xdg-desktop-portal service to talk to: it says yes or no as told, records what it was asked
// and lets the test press, release and close like a desktop would.
class FakePortalBackend : public QObject
{
    Q_OBJECT

public:
    static const QString busName;

    explicit FakePortalBackend(QDBusConnection bus);
    ~FakePortalBackend() override;

    // The backend's own session objects, which the service closes through.
    void openSession(const QDBusObjectPath& session);
    // Closes the latest session from the desktop's side, as when the user revokes it.
    void closeSession();
    void emitShortcut(const QString& signal, const QString& id);

    QDBusConnection bus;
    uint bindResponse = 0;
    uint startResponse = 0;
    QStringList sessions;
    PortalShortcuts bound;
    QList<QPair<int, uint>> keycodes;

private:
    std::vector<std::unique_ptr<QObject>> m_sessionObjects;
};

class FakeShortcutsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    explicit FakeShortcutsAdaptor(FakePortalBackend* backend)
        : QDBusAbstractAdaptor(backend)
        , m_backend(backend)
    {}
    uint version() const { return 1; }

public Q_SLOTS:
    uint CreateSession(const QDBusObjectPath& handle, const QDBusObjectPath& session,
                       const QString& appId, const QVariantMap& options, QVariantMap& results);
    uint BindShortcuts(const QDBusObjectPath& handle, const QDBusObjectPath& session,
                       const QList<PortalShortcut>& shortcuts, const QString& parentWindow,
                       const QVariantMap& options, QVariantMap& results);
    uint ListShortcuts(const QDBusObjectPath& handle, const QDBusObjectPath& session,
                       QVariantMap& results);

private:
    FakePortalBackend* m_backend;
};

class FakeRemoteDesktopAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.RemoteDesktop")
    Q_PROPERTY(uint version READ version)
    Q_PROPERTY(uint AvailableDeviceTypes READ availableDeviceTypes)

public:
    explicit FakeRemoteDesktopAdaptor(FakePortalBackend* backend)
        : QDBusAbstractAdaptor(backend)
        , m_backend(backend)
    {}
    uint version() const { return 1; }
    uint availableDeviceTypes() const { return 1; } // the keyboard

public Q_SLOTS:
    uint CreateSession(const QDBusObjectPath& handle, const QDBusObjectPath& session,
                       const QString& appId, const QVariantMap& options, QVariantMap& results);
    uint SelectDevices(const QDBusObjectPath& handle, const QDBusObjectPath& session,
                       const QString& appId, const QVariantMap& options, QVariantMap& results);
    uint Start(const QDBusObjectPath& handle, const QDBusObjectPath& session, const QString& appId,
               const QString& parentWindow, const QVariantMap& options, QVariantMap& results);
    void NotifyKeyboardKeycode(const QDBusObjectPath& session, const QVariantMap& options,
                               int keycode, uint state);

private:
    FakePortalBackend* m_backend;
};
