#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QQueue>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// A session of the desktop's RemoteDesktop portal: the way to post keystrokes and, where the
// desktop offers the Clipboard portal, to reach the clipboard, on desktops that let no client do
// either by itself. The desktop asks the user once, when the session starts; where the portal
// can remember the answer (version 2 and later), its restore token is kept through `token` so
// the question is not asked again. A refusal stands until Murmo starts again; a session the
// desktop closes may be started again. Main thread only.
class RemoteDesktopSession : public QObject
{
    Q_OBJECT

public:
    // How long the portal may take to answer one key.
    static constexpr std::chrono::milliseconds keyAnswerLimit{2000};

    struct TokenStore
    {
        std::function<std::optional<QString>()> load;
        std::function<void(const QString&)> save;
    };

    // `withClipboard`: ask for the clipboard too (the desktop offers the Clipboard portal).
    RemoteDesktopSession(QDBusConnection bus, int portalVersion, bool withClipboard,
                         TokenStore token);
    ~RemoteDesktopSession() override;

    // Starts the session unless it is starting, started or refused; the answer comes later.
    void start();
    bool isStarted() const { return m_state == State::started; }
    bool isIdle() const { return m_state == State::idle; }
    bool wasRefused() const { return m_state == State::refused; }
    bool clipboardEnabled() const { return isStarted() && m_clipboardEnabled; }

    QDBusConnection bus() const { return m_bus; }
    QString handle() const { return m_handle; }
    // A call of one of the portal's interfaces for this session: the session comes first.
    QDBusMessage call(const QString& interface, const QString& method) const;
    // Presses or releases a key, by kernel code, after those asked for before: the portal
    // handles calls in parallel, so each goes out once the one before was answered. A session
    // that ends drops what is still waiting.
    void notifyKeycode(int evdevCode, bool down);

Q_SIGNALS:
    void started();
    void ended();

private Q_SLOTS:
    void closed(const QVariantMap& details);

private:
    enum class State
    {
        idle,
        starting,
        started,
        refused,
    };

    void created(const QString& handle);
    void selectDevices();
    void requestClipboard();
    void begin();
    void fail(uint response);
    void close();
    void watch(bool on);
    void sendNextKey();

    QDBusConnection m_bus;
    int m_version;
    bool m_withClipboard;
    TokenStore m_token;
    State m_state = State::idle;
    QString m_handle;
    bool m_clipboardEnabled = false;
    QQueue<std::pair<int, bool>> m_keys;
    bool m_keyInFlight = false;
};
