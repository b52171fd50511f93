#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>

#include <functional>

// One call to a desktop portal method that answers through a Request object: the call goes out
// with a handle token, and its `Response` signal carries the outcome. The listener is in place
// before the call, so no answer is missed. Deletes itself once answered.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    // The portal's response codes.
    enum Response : uint
    {
        success = 0,
        cancelled = 1, // the user said no
        ended = 2,     // the interaction ended some other way (or the call failed)
    };
    using Done = std::function<void(uint response, const QVariantMap& results)>;

    static const QString service;
    static const QString path;

    // `call` is a portal method whose last argument is its options; "handle_token" is added.
    static void send(QDBusConnection bus, QDBusMessage call, Done done);
    // A fresh token for "handle_token" and "session_handle_token".
    static QString token();

    // Sessions the portal made for us: `slot` (taking the details, a{sv}) hears when the desktop
    // closes one, and one we no longer need is closed.
    static void watchSessionClosed(QDBusConnection& bus, const QString& session, QObject* receiver,
                                   const char* slot, bool watch);
    static void closeSession(QDBusConnection& bus, const QString& session);

private Q_SLOTS:
    void response(uint response, const QVariantMap& results);

private:
    PortalRequest(QDBusConnection bus, QString path, Done done);

    QDBusConnection m_bus;
    QString m_path;
    Done m_done;
};
