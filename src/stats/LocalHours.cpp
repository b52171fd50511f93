#include "stats/LocalHours.h"

#include <QTimeZone>

#include <algorithm>

namespace {
constexpr qint64 msecsPerDay = 24 * 3600 * 1000;

QTimeZone zoneOf(const QDateTime& reference)
{
    switch (reference.timeSpec()) {
    case Qt::TimeZone:
        return reference.timeZone();
    case Qt::LocalTime:
        return QTimeZone::systemTimeZone();
    case Qt::UTC:
    case Qt::OffsetFromUTC:
        break;
    }
    return QTimeZone(reference.offsetFromUtc());
}
} // namespace

LocalHours::LocalHours(const QDateTime& reference, qint64 firstMSecs, qint64 lastMSecs)
{
    const QTimeZone zone = zoneOf(reference);
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(firstMSecs - msecsPerDay, Qt::UTC);
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(lastMSecs + msecsPerDay, Qt::UTC);
    m_offsets.append({from.toMSecsSinceEpoch(), zone.offsetFromUtc(from)});
    for (const QTimeZone::OffsetData& transition : zone.transitions(from, to))
        m_offsets.append({transition.atUtc.toMSecsSinceEpoch(), transition.offsetFromUtc});
}

int LocalHours::hourAt(qint64 msecsSinceEpoch) const
{
    const auto after =
        std::upper_bound(m_offsets.begin(), m_offsets.end(), msecsSinceEpoch,
                         [](qint64 at, const Offset& offset) { return at < offset.fromMSecs; });
    const int offset =
        after == m_offsets.begin() ? m_offsets.first().seconds : std::prev(after)->seconds;
    const qint64 localMSecs = msecsSinceEpoch + qint64(offset) * 1000;
    const qint64 msecsIntoDay = ((localMSecs % msecsPerDay) + msecsPerDay) % msecsPerDay;
    return int(msecsIntoDay / (3600 * 1000));
}
