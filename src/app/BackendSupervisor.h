#pragma once

#include "platform/Clock.h"
#include "platform/Scheduler.h"

#include <QObject>
#include <QProcess>
#include <QTcpSocket>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

// Keeps murmo-backend running for a Murmo that uses the built-in backend on this computer:
// starts it when nothing answers at the backend's address, starts it again when it stops
// unexpectedly (waiting longer after each failure that follows soon after a start), and stops
// it when Murmo quits. A backend that someone else runs there is left alone.
class BackendSupervisor : public QObject
{
    Q_OBJECT

public:
    // The first restart waits this long; each quick failure doubles it, up to the maximum.
    static constexpr std::chrono::milliseconds firstRestartDelay{1000};
    static constexpr std::chrono::milliseconds maximumRestartDelay{60000};
    // A backend that ran this long counts as healthy again: the next restart waits the least.
    static constexpr std::chrono::milliseconds healthyRun{60000};
    // How long a connection attempt may take before the address counts as silent.
    static constexpr std::chrono::milliseconds probeTimeout{2000};
    // How long the backend has to stop on its own when Murmo quits.
    static constexpr std::chrono::milliseconds stopTimeout{3000};

    // `program` is murmo-backend; `origin` the http address on this computer it must serve.
    BackendSupervisor(const Clock& clock, Scheduler& scheduler, QString program, QUrl origin,
                      QObject* parent = nullptr);
    ~BackendSupervisor() override;

    // Looks for a backend at the address and starts one when none answers.
    void start();
    // The backend this supervisor runs; none while it runs none.
    std::optional<qint64> processId() const;

Q_SIGNALS:
    // A backend of ours was started (again).
    void launched();

private:
    void probe();
    void finishProbe(bool answered);
    void launch();
    void onFinished();
    void scheduleRestart();
    void stopBackend();

    const Clock& m_clock;
    Scheduler& m_scheduler;
    QString m_program;
    QUrl m_origin;
    std::unique_ptr<QTcpSocket> m_probe;
    std::unique_ptr<QProcess> m_process;
    TimerHandle m_timer;
    std::chrono::milliseconds m_restartDelay = firstRestartDelay;
    Clock::TimePoint m_launchedAt;
};
