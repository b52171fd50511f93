#pragma once

#include "stats/PeriodStats.h"

#include <QHash>
#include <QObject>
#include <QThreadPool>

#include <stop_token>

class StatsEngine;

// Runs statistics computations on worker threads for a screen on the main thread: results and
// progress arrive as signals on the thread that owns this object. Several computations may run
// at once; each is told apart by the id start() returned, so the screen can keep the last one.
// Destroying the task stops its computations and waits for them.
class StatsTask final : public QObject
{
    Q_OBJECT

public:
    explicit StatsTask(StatsEngine& engine, QObject* parent = nullptr);
    ~StatsTask() override;

    quint64 start(const QList<HistoryItem>& records, StatsPeriod period, const QDateTime& now);
    // Stops every running computation; stopped computations report nothing more.
    void cancel();
    bool isRunning() const { return !m_running.isEmpty(); }

Q_SIGNALS:
    // Texts tagged so far of those never seen before; only when there are some.
    void progress(quint64 id, qint64 done, qint64 total);
    void finished(quint64 id, const PeriodStats& stats);

private:
    void deliver(quint64 id, const std::optional<PeriodStats>& stats);

    StatsEngine& m_engine;
    QThreadPool m_pool;
    QHash<quint64, std::stop_source> m_running;
    quint64 m_lastId = 0;
};
