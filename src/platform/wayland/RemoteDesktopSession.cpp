#include "platform/wayland/RemoteDesktopSession.h"

#include "platform/wayland/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

const QString remoteDesktopInterface = u"org.freedesktop.portal.RemoteDesktop"_s;
const QString clipboardInterface = u"org.freedesktop.portal.Clipboard"_s;

constexpr uint keyboardDevice = 1;
// Keep the permission until the user revokes it.
constexpr uint persistUntilRevoked = 2;

QDBusMessage portalCall(const QString& interface, const QString& method)
{
    return QDBusMessage::createMethodCall(PortalRequest::service, PortalRequest::path, interface,
                                          method);
}

} // namespace

RemoteDesktopSession::RemoteDesktopSession(QDBusConnection bus, int portalVersion,
                                           bool withClipboard, TokenStore token)
    : m_bus(std::move(bus))
    , m_version(portalVersion)
    , m_withClipboard(withClipboard)
    , m_token(std::move(token))
{}

RemoteDesktopSession::~RemoteDesktopSession()
{
    close();
}

QDBusMessage RemoteDesktopSession::call(const QString& interface, const QString& method) const
{
    QDBusMessage message = portalCall(interface, method);
    message << QVariant::fromValue(QDBusObjectPath(m_handle));
    return message;
}

void RemoteDesktopSession::notifyKeycode(int evdevCode, bool down)
{
    m_keys.enqueue({evdevCode, down});
    if (!m_keyInFlight)
        sendNextKey();
}

void RemoteDesktopSession::sendNextKey()
{
    m_keyInFlight = false;
    if (!isStarted()) {
        m_keys.clear();
        return;
    }
    if (m_keys.isEmpty())
        return;
    const auto [evdevCode, down] = m_keys.dequeue();
    QDBusMessage message = call(remoteDesktopInterface, u"NotifyKeyboardKeycode"_s);
    message << QVariantMap() << evdevCode << uint(down ? 1 : 0);
    m_keyInFlight = true;
    auto* answer = new QDBusPendingCallWatcher(
        m_bus.asyncCall(message, static_cast<int>(keyAnswerLimit.count())), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                sendNextKey();
            });
}

void RemoteDesktopSession::start()
{
    if (m_state != State::idle)
        return;
    m_state = State::starting;
    m_clipboardEnabled = false;
    QDBusMessage message = portalCall(remoteDesktopInterface, u"CreateSession"_s);
    message << QVariantMap{{u"session_handle_token"_s, PortalRequest::token()}};
    PortalRequest::send(m_bus, message,
                        [self = QPointer(this)](uint response, const QVariantMap& results) {
                            if (!self)
                                return;
                            const QString handle = results.value(u"session_handle"_s).toString();
                            if (response != PortalRequest::success || handle.isEmpty())
                                return self->fail(response);
                            self->created(handle);
                        });
}

void RemoteDesktopSession::created(const QString& handle)
{
    m_handle = handle;
    watch(true);
    selectDevices();
}

void RemoteDesktopSession::selectDevices()
{
    QVariantMap options{{u"types"_s, keyboardDevice}};
    if (m_version >= 2) {
        options.insert(u"persist_mode"_s, persistUntilRevoked);
        if (const auto token = m_token.load ? m_token.load() : std::nullopt)
            options.insert(u"restore_token"_s, *token);
    }
    QDBusMessage message = call(remoteDesktopInterface, u"SelectDevices"_s);
    message << options;
    PortalRequest::send(m_bus, message, [self = QPointer(this)](uint response, const QVariantMap&) {
        if (!self)
            return;
        if (response != PortalRequest::success)
            return self->fail(response);
        self->requestClipboard();
    });
}

// Only before the session starts may the clipboard be asked for; it answers at once.
void RemoteDesktopSession::requestClipboard()
{
    if (m_withClipboard) {
        QDBusMessage message = call(clipboardInterface, u"RequestClipboard"_s);
        message << QVariantMap();
        m_bus.send(message);
    }
    begin();
}

void RemoteDesktopSession::begin()
{
    QDBusMessage message = call(remoteDesktopInterface, u"Start"_s);
    message << QString() << QVariantMap();
    PortalRequest::send(
        m_bus, message, [self = QPointer(this)](uint response, const QVariantMap& results) {
            if (!self)
                return;
            const uint devices = results.value(u"devices"_s).toUInt();
            if (response != PortalRequest::success || !(devices & keyboardDevice))
                return self->fail(PortalRequest::cancelled);
            const QString token = results.value(u"restore_token"_s).toString();
            if (!token.isEmpty() && self->m_token.save)
                self->m_token.save(token);
            self->m_clipboardEnabled = results.value(u"clipboard_enabled"_s).toBool();
            self->m_state = State::started;
            Q_EMIT self->started();
        });
}

void RemoteDesktopSession::close()
{
    if (m_handle.isEmpty())
        return;
    watch(false);
    PortalRequest::closeSession(m_bus, m_handle);
    m_handle.clear();
}

void RemoteDesktopSession::fail(uint response)
{
    close();
    // A refusal stands until Murmo starts again; anything else may be tried again.
    m_state = response == PortalRequest::cancelled ? State::refused : State::idle;
}

void RemoteDesktopSession::watch(bool on)
{
    PortalRequest::watchSessionClosed(m_bus, m_handle, this, SLOT(closed(QVariantMap)), on);
}

void RemoteDesktopSession::closed(const QVariantMap&)
{
    watch(false);
    m_handle.clear();
    m_clipboardEnabled = false;
    // A refused session is closed too; the refusal stands.
    if (m_state != State::refused)
        m_state = State::idle;
    Q_EMIT ended();
}
