#include "app/ReportingHoldKeySource.h"

ReportingHoldKeySource::ReportingHoldKeySource(HoldKeySource& monitor,
                                               std::function<void(const QString&)> report)
    : m_monitor(monitor)
    , m_report(std::move(report))
{}

std::optional<QString> ReportingHoldKeySource::start()
{
    std::optional<QString> problem = m_monitor.start();
    if (problem && !m_reported) {
        m_reported = true;
        m_report(*problem);
    }
    return problem;
}
