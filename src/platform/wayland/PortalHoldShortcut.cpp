#include "platform/wayland/PortalHoldShortcut.h"

#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/PortalShortcut.h"
#include "platform/wayland/SessionCapabilities.h"
#include "platform/wayland/WaylandHoldSource.h"

#include <QDBusMessage>
#include <QPointer>

using namespace Qt::StringLiterals;

const QString PortalHoldShortcut::shortcutId = u"hold-to-talk"_s;

namespace {

const QString shortcutsInterface = u"org.freedesktop.portal.GlobalShortcuts"_s;

QDBusMessage portalCall(const QString& method)
{
    return QDBusMessage::createMethodCall(PortalRequest::service, PortalRequest::path,
                                          shortcutsInterface, method);
}

} // namespace

PortalHoldShortcut::PortalHoldShortcut(QDBusConnection bus, Scheduler& scheduler,
                                       WaylandHoldSource& hold,
                                       std::function<void(const QString&)> report)
    : m_bus(std::move(bus))
    , m_scheduler(scheduler)
    , m_hold(hold)
    , m_report(std::move(report))
{
    PortalShortcut::registerType();
    // QtDBus finds the slots' parameter types by name, known only once registered.
    qRegisterMetaType<QDBusObjectPath>();
    for (const auto& [name, slot] :
         {std::pair{u"Activated"_s,
                    SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap))},
          std::pair{u"Deactivated"_s,
                    SLOT(deactivated(QDBusObjectPath, QString, qulonglong, QVariantMap))}})
        m_bus.connect(PortalRequest::service, PortalRequest::path, shortcutsInterface, name, this,
                      slot);
}

PortalHoldShortcut::~PortalHoldShortcut()
{
    if (m_session.isEmpty())
        return;
    watchSession(false);
    PortalRequest::closeSession(m_bus, m_session);
}

void PortalHoldShortcut::open()
{
    QDBusMessage call = portalCall(u"CreateSession"_s);
    call << QVariantMap{{u"session_handle_token"_s, PortalRequest::token()}};
    PortalRequest::send(m_bus, call,
                        [self = QPointer(this)](uint response, const QVariantMap& results) {
                            if (!self)
                                return;
                            const QString session = results.value(u"session_handle"_s).toString();
                            if (response != PortalRequest::success || session.isEmpty()) {
                                self->m_report(u"The desktop did not open a shortcut session "
                                               u"for Murmo."_s);
                                return;
                            }
                            self->m_session = session;
                            self->watchSession(true);
                            self->bind();
                        });
}

void PortalHoldShortcut::bind()
{
    const PortalShortcut shortcut{
        shortcutId,
        {{u"description"_s, u"Hold to dictate"_s},
         {u"preferred_trigger"_s, SessionCapabilities::suggestedShortcut()}}};
    QDBusMessage call = portalCall(u"BindShortcuts"_s);
    call << QVariant::fromValue(QDBusObjectPath(m_session))
         << QVariant::fromValue(PortalShortcuts{shortcut}) << QString() << QVariantMap();
    PortalRequest::send(m_bus, call, [self = QPointer(this)](uint response, const QVariantMap&) {
        if (!self)
            return;
        self->m_bound = response == PortalRequest::success;
        if (!self->m_bound)
            self->m_report(u"The desktop did not bind Murmo's hold shortcut. Allow it in the "
                           u"desktop's shortcut settings, then restart Murmo."_s);
    });
}

void PortalHoldShortcut::watchSession(bool watch)
{
    PortalRequest::watchSessionClosed(m_bus, m_session, this, SLOT(closed(QVariantMap)), watch);
}

bool PortalHoldShortcut::ours(const QDBusObjectPath& session, const QString& id) const
{
    return m_bound && session.path() == m_session && id == shortcutId;
}

void PortalHoldShortcut::activated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                   const QVariantMap&)
{
    if (ours(session, id))
        m_hold.holdBegan();
}

void PortalHoldShortcut::deactivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                     const QVariantMap&)
{
    if (ours(session, id))
        m_hold.holdEnded();
}

void PortalHoldShortcut::closed(const QVariantMap&)
{
    watchSession(false);
    m_session.clear();
    m_bound = false;
    // Its release will never come now.
    m_hold.holdEnded();
    m_reopen = m_scheduler.runAfter(reopenDelay, [this] { open(); });
}
