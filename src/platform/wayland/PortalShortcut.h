#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One shortcut as the GlobalShortcuts portal describes it on the bus: `(sa{sv})`.
struct PortalShortcut
{
    QString id;
    QVariantMap properties; // "description", "preferred_trigger", "trigger_description"

    // Makes the type known to QtDBus; call before the first use.
    static void registerType();
};
using PortalShortcuts = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

Q_DECLARE_METATYPE(PortalShortcut)
