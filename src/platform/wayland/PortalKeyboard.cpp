#include "platform/wayland/PortalKeyboard.h"

#include "platform/KeyEventMonitors.h"
#include "platform/wayland/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QPointer>

#include <linux/input-event-codes.h>

using namespace Qt::StringLiterals;

namespace {

const QString remoteDesktopInterface = u"org.freedesktop.portal.RemoteDesktop"_s;
const QString sessionInterface = u"org.freedesktop.portal.Session"_s;

constexpr uint keyboardDevice = 1;
// Keep the permission until the user revokes it.
constexpr uint persistUntilRevoked = 2;
// The paste chord is the only keystroke Murmo posts: V, by its position.
constexpr int pasteKeyCode = 9;

QDBusMessage portalCall(const QString& method)
{
    return QDBusMessage::createMethodCall(PortalRequest::service, PortalRequest::path,
                                          remoteDesktopInterface, method);
}

} // namespace

class PortalKeyboard::PortalKeystroke final : public Keystroke
{
public:
    PortalKeystroke(PortalKeyboard& keyboard, QList<int> modifiers)
        : m_keyboard(&keyboard)
        , m_modifiers(std::move(modifiers))
    {}
    ~PortalKeystroke() override
    {
        if (m_down)
            postKeyUp();
    }

    void postKeyDown() override
    {
        if (!m_keyboard)
            return;
        m_down = true;
        for (const int modifier : std::as_const(m_modifiers))
            m_keyboard->notify(modifier, true);
        m_keyboard->notify(KEY_V, true);
    }
    void postKeyUp() override
    {
        if (!m_keyboard)
            return;
        m_down = false;
        m_keyboard->notify(KEY_V, false);
        for (auto modifier = m_modifiers.crbegin(); modifier != m_modifiers.crend(); ++modifier)
            m_keyboard->notify(*modifier, false);
    }

private:
    QPointer<PortalKeyboard> m_keyboard;
    QList<int> m_modifiers;
    bool m_down = false;
};

PortalKeyboard::PortalKeyboard(QDBusConnection bus, int portalVersion, TokenStore token)
    : m_bus(std::move(bus))
    , m_version(portalVersion)
    , m_token(std::move(token))
{
    start();
}

PortalKeyboard::~PortalKeyboard()
{
    if (m_session.isEmpty())
        return;
    m_bus.disconnect(PortalRequest::service, m_session, sessionInterface, u"Closed"_s, this,
                     SLOT(closed(QVariantMap)));
    m_bus.send(QDBusMessage::createMethodCall(PortalRequest::service, m_session, sessionInterface,
                                              u"Close"_s));
}

std::unique_ptr<SyntheticKeyboard::Keystroke> PortalKeyboard::makeKeystroke(int keyCode,
                                                                            std::uint64_t flags)
{
    if (m_state == State::idle)
        start(); // for the next dictation: this one cannot wait for the user's answer
    if (m_state != State::started || keyCode != pasteKeyCode)
        return nullptr;
    QList<int> modifiers;
    if (flags & (ModifierFlags::command | ModifierFlags::control))
        modifiers << KEY_LEFTCTRL;
    if (flags & ModifierFlags::shift)
        modifiers << KEY_LEFTSHIFT;
    if (flags & ModifierFlags::option)
        modifiers << KEY_LEFTALT;
    return std::make_unique<PortalKeystroke>(*this, modifiers);
}

void PortalKeyboard::start()
{
    m_state = State::starting;
    QDBusMessage call = portalCall(u"CreateSession"_s);
    call << QVariantMap{{u"session_handle_token"_s, PortalRequest::token()}};
    PortalRequest::send(m_bus, call,
                        [self = QPointer(this)](uint response, const QVariantMap& results) {
                            if (!self)
                                return;
                            const QString session = results.value(u"session_handle"_s).toString();
                            if (response != PortalRequest::success || session.isEmpty())
                                return self->fail(response);
                            self->m_session = session;
                            self->m_bus.connect(PortalRequest::service, session, sessionInterface,
                                                u"Closed"_s, self, SLOT(closed(QVariantMap)));
                            self->selectDevices();
                        });
}

void PortalKeyboard::selectDevices()
{
    QVariantMap options{{u"types"_s, keyboardDevice}};
    if (m_version >= 2) {
        options.insert(u"persist_mode"_s, persistUntilRevoked);
        if (const auto token = m_token.load ? m_token.load() : std::nullopt)
            options.insert(u"restore_token"_s, *token);
    }
    QDBusMessage call = portalCall(u"SelectDevices"_s);
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << options;
    PortalRequest::send(m_bus, call, [self = QPointer(this)](uint response, const QVariantMap&) {
        if (!self)
            return;
        if (response != PortalRequest::success)
            return self->fail(response);
        self->begin();
    });
}

void PortalKeyboard::begin()
{
    QDBusMessage call = portalCall(u"Start"_s);
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QString() << QVariantMap();
    PortalRequest::send(m_bus, call,
                        [self = QPointer(this)](uint response, const QVariantMap& results) {
                            if (!self)
                                return;
                            const uint devices = results.value(u"devices"_s).toUInt();
                            if (response != PortalRequest::success || !(devices & keyboardDevice))
                                return self->fail(PortalRequest::cancelled);
                            const QString token = results.value(u"restore_token"_s).toString();
                            if (!token.isEmpty() && self->m_token.save)
                                self->m_token.save(token);
                            self->m_state = State::started;
                        });
}

void PortalKeyboard::fail(uint response)
{
    // A refusal stands until Murmo starts again; anything else may be tried again.
    m_state = response == PortalRequest::cancelled ? State::refused : State::idle;
}

void PortalKeyboard::closed(const QVariantMap&)
{
    m_bus.disconnect(PortalRequest::service, m_session, sessionInterface, u"Closed"_s, this,
                     SLOT(closed(QVariantMap)));
    m_session.clear();
    // A refused session is closed too; the refusal stands.
    if (m_state != State::refused)
        m_state = State::idle;
}

void PortalKeyboard::notify(int evdevCode, bool down)
{
    QDBusMessage call = portalCall(u"NotifyKeyboardKeycode"_s);
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariantMap() << evdevCode
         << uint(down ? 1 : 0);
    m_bus.send(call);
}
