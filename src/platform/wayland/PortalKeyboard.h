#pragma once

#include "platform/SyntheticKeyboard.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// Keystrokes through the desktop's RemoteDesktop portal, by kernel key code. The desktop asks
// the user once, when the session starts at launch; where the portal can remember that answer
// (version 2 and later), its restore token is kept through `token` so the question is not asked
// again. A session that is refused posts nothing; one the desktop closes is asked for again at
// the next keystroke, which itself fails. Main thread only.
class PortalKeyboard final : public QObject, public SyntheticKeyboard
{
    Q_OBJECT

public:
    struct TokenStore
    {
        std::function<std::optional<QString>()> load;
        std::function<void(const QString&)> save;
    };

    PortalKeyboard(QDBusConnection bus, int portalVersion, TokenStore token);
    ~PortalKeyboard() override;

    std::unique_ptr<Keystroke> makeKeystroke(int keyCode, std::uint64_t modifierFlags) override;

    bool isReady() const { return m_state == State::started; }
    bool wasRefused() const { return m_state == State::refused; }

private Q_SLOTS:
    void closed(const QVariantMap& details);

private:
    class PortalKeystroke;
    enum class State
    {
        idle,
        starting,
        started,
        refused,
    };

    void start();
    void selectDevices();
    void begin();
    void fail(uint response);
    void notify(int evdevCode, bool down);

    QDBusConnection m_bus;
    int m_version;
    TokenStore m_token;
    State m_state = State::idle;
    QString m_session;
};
