#include "platform/wayland/PortalRequest.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <atomic>

using namespace Qt::StringLiterals;

const QString PortalRequest::service = u"org.freedesktop.portal.Desktop"_s;
const QString PortalRequest::path = u"/org/freedesktop/portal/desktop"_s;

namespace {

const QString requestInterface = u"org.freedesktop.portal.Request"_s;
const QString sessionInterface = u"org.freedesktop.portal.Session"_s;

} // namespace

QString PortalRequest::token()
{
    static std::atomic<int> counter{0};
    return u"murmo%1"_s.arg(++counter);
}

void PortalRequest::watchSessionClosed(QDBusConnection& bus, const QString& session,
                                       QObject* receiver, const char* slot, bool watch)
{
    if (watch)
        bus.connect(service, session, sessionInterface, u"Closed"_s, receiver, slot);
    else
        bus.disconnect(service, session, sessionInterface, u"Closed"_s, receiver, slot);
}

void PortalRequest::closeSession(QDBusConnection& bus, const QString& session)
{
    bus.send(QDBusMessage::createMethodCall(service, session, sessionInterface, u"Close"_s));
}

PortalRequest::PortalRequest(QDBusConnection bus, QString path, Done done)
    : m_bus(std::move(bus))
    , m_path(std::move(path))
    , m_done(std::move(done))
{
    m_bus.connect(service, m_path, requestInterface, u"Response"_s, this,
                  SLOT(response(uint, QVariantMap)));
}

void PortalRequest::send(QDBusConnection bus, QDBusMessage call, Done done)
{
    const QString handleToken = token();
    QList<QVariant> arguments = call.arguments();
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(u"handle_token"_s, handleToken);
    arguments << options;
    call.setArguments(arguments);

    // Where the portal puts the Request: the sender's unique name without its colon, dots as
    // underscores, then the token.
    const QString sender = bus.baseService().mid(1).replace(u'.', u'_');
    auto* request = new PortalRequest(bus, u"%1/request/%2/%3"_s.arg(path, sender, handleToken),
                                      std::move(done));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request,
                     [request](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         if (finished->isError())
                             request->response(ended, {});
                     });
}

void PortalRequest::response(uint response, const QVariantMap& results)
{
    if (!m_done)
        return;
    m_bus.disconnect(service, m_path, requestInterface, u"Response"_s, this,
                     SLOT(response(uint, QVariantMap)));
    std::exchange(m_done, {})(response, results);
    deleteLater();
}
