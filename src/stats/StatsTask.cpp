#include "stats/StatsTask.h"

#include "stats/StatsEngine.h"

StatsTask::StatsTask(StatsEngine& engine, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
{}

StatsTask::~StatsTask()
{
    cancel();
    m_pool.waitForDone();
}

quint64 StatsTask::start(const QList<HistoryItem>& records, StatsPeriod period,
                         const QDateTime& now)
{
    const quint64 id = ++m_lastId;
    const std::stop_source stop;
    m_running.insert(id, stop);
    // Workers post back to this object; posted calls die with it, and the destructor waits for
    // the workers, so `this` outlives every use below.
    const StatsControl control{stop.get_token(), [this, id](qint64 done, qint64 total) {
                                   QMetaObject::invokeMethod(this, [this, id, done, total] {
                                       if (m_running.contains(id))
                                           Q_EMIT progress(id, done, total);
                                   });
                               }};
    m_pool.start([this, id, records, period, now, control] {
        const std::optional<PeriodStats> stats =
            m_engine.computePeriodStats(records, period, now, control);
        QMetaObject::invokeMethod(this, [this, id, stats] { deliver(id, stats); });
    });
    return id;
}

void StatsTask::cancel()
{
    for (std::stop_source& stop : m_running)
        stop.request_stop();
    m_running.clear();
}

void StatsTask::deliver(quint64 id, const std::optional<PeriodStats>& stats)
{
    if (!m_running.remove(id) || !stats)
        return;
    Q_EMIT finished(id, *stats);
}
