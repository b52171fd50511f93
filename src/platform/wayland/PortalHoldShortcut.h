#pragma once

#include "platform/Scheduler.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

#include <chrono>
#include <functional>

class WaylandHoldSource;

// The hold key as a shortcut of the desktop's GlobalShortcuts portal: the desktop says when it
// is pressed (Activated) and released (Deactivated), and the user picks the key in the desktop's
// own shortcut settings. A session the desktop closes is opened again a little later.
class PortalHoldShortcut : public QObject
{
    Q_OBJECT

public:
    static const QString shortcutId;
    // Before a closed session is opened again, so that a desktop that keeps closing it is not
    // asked in a tight loop.
    static constexpr std::chrono::seconds reopenDelay{2};

    // `report` hears, in words for the user, why the shortcut could not be set up.
    PortalHoldShortcut(QDBusConnection bus, Scheduler& scheduler, WaylandHoldSource& hold,
                       std::function<void(const QString&)> report);
    ~PortalHoldShortcut() override;

    // Opens the session and binds the shortcut; the answers come later.
    void open();
    bool isBound() const { return m_bound; }

private Q_SLOTS:
    void activated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                   const QVariantMap& options);
    void deactivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                     const QVariantMap& options);
    void closed(const QVariantMap& details);

private:
    void bind();
    void watchSession(bool watch);
    bool ours(const QDBusObjectPath& session, const QString& id) const;

    QDBusConnection m_bus;
    Scheduler& m_scheduler;
    WaylandHoldSource& m_hold;
    std::function<void(const QString&)> m_report;
    QString m_session;
    bool m_bound = false;
    TimerHandle m_reopen;
};
