#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Ends the event loop when the process is asked to stop (SIGTERM at logout, SIGINT from a
// terminal, SIGHUP), so that Murmo takes itself down in order, its backend with it, instead of
// dying on the spot. One per process.
class QuitOnSignals : public QObject
{
    Q_OBJECT

public:
    QuitOnSignals();
    ~QuitOnSignals() override;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
