#include "app/BackendSupervisor.h"

#include <csignal>
#include <sys/prctl.h>

using namespace Qt::StringLiterals;

BackendSupervisor::BackendSupervisor(const Clock& clock, Scheduler& scheduler, QString program,
                                     QUrl origin, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_program(std::move(program))
    , m_origin(std::move(origin))
{}

BackendSupervisor::~BackendSupervisor()
{
    m_timer.cancel();
    stopBackend();
}

void BackendSupervisor::start()
{
    probe();
}

std::optional<qint64> BackendSupervisor::processId() const
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return std::nullopt;
    return m_process->processId();
}

void BackendSupervisor::probe()
{
    m_probe = std::make_unique<QTcpSocket>();
    connect(m_probe.get(), &QTcpSocket::connected, this, [this] { finishProbe(true); });
    connect(m_probe.get(), &QTcpSocket::errorOccurred, this, [this] { finishProbe(false); });
    m_timer = m_scheduler.runAfter(probeTimeout, [this] { finishProbe(false); });
    m_probe->connectToHost(m_origin.host(), quint16(m_origin.port(80)));
}

void BackendSupervisor::finishProbe(bool answered)
{
    m_timer.cancel();
    QTcpSocket* socket = m_probe.release();
    // The socket may be mid-signal, and may still report its closing: hear nothing more of it.
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    if (!answered)
        launch();
}

void BackendSupervisor::launch()
{
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(m_program);
    m_process->setArguments(
        {u"--address"_s, m_origin.host(), u"--port"_s, QString::number(m_origin.port(80))});
    // Its one line per problem is the backend's own log: it goes where Murmo's output goes.
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    // Should Murmo be killed outright, its backend goes with it rather than holding the port.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(m_process.get(), &QProcess::finished, this, &BackendSupervisor::onFinished);
    connect(m_process.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFinished();
    });
    m_launchedAt = m_clock.now();
    m_process->start();
    Q_EMIT launched();
}

void BackendSupervisor::onFinished()
{
    // The process object may be mid-signal: let the event loop delete it.
    m_process.release()->deleteLater();
    scheduleRestart();
}

void BackendSupervisor::scheduleRestart()
{
    if (m_clock.now() - m_launchedAt >= healthyRun)
        m_restartDelay = firstRestartDelay;
    const auto delay = m_restartDelay;
    m_restartDelay = std::min(m_restartDelay * 2, maximumRestartDelay);
    // Someone may have started a backend there meanwhile: look again before starting ours.
    m_timer = m_scheduler.runAfter(delay, [this] { probe(); });
}

void BackendSupervisor::stopBackend()
{
    if (!m_process)
        return;
    disconnect(m_process.get(), nullptr, this, nullptr);
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(int(stopTimeout.count())))
            m_process->kill();
        m_process->waitForFinished(int(stopTimeout.count()));
    }
    m_process.reset();
}
