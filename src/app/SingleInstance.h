#pragma once

#include <QDBusConnection>
#include <QObject>

// One Murmo per user session. The first process to claim the name "org.murmo.Murmo" on the
// session bus serves the requests of later launches, which hand theirs over and end. This also
// keeps two processes from writing the same files at once.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.murmo.Murmo")

public:
    enum class Request
    {
        showMainWindow,
        showHistory,
        holdBegin,
        holdEnd,
        toggle,
    };

    static const QString serviceName;
    static const QString objectPath;

    explicit SingleInstance(QDBusConnection bus, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the name; false when another process holds it (or the bus refused).
    bool claim();
    // Asks the process that holds the name to carry out `request`; false when none answered.
    static bool handOver(QDBusConnection bus, Request request);

public Q_SLOTS:
    Q_SCRIPTABLE void ShowMainWindow();
    Q_SCRIPTABLE void ShowHistory();
    Q_SCRIPTABLE void HoldBegin();
    Q_SCRIPTABLE void HoldEnd();
    Q_SCRIPTABLE void Toggle();

Q_SIGNALS:
    void showMainWindowRequested();
    void showHistoryRequested();
    void holdBeginRequested();
    void holdEndRequested();
    void toggleRequested();

private:
    QDBusConnection m_bus;
    bool m_claimed = false;
};
