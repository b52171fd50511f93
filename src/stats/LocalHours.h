#pragma once

#include <QDateTime>
#include <QList>

// The local hour of the day of many time points, in the time zone of a reference time. Asking
// the C library once per record re-reads the zone file each time; this looks the offset up in
// the zone's transitions over the span asked for.
class LocalHours
{
public:
    // Exact for times between `firstMSecs` and `lastMSecs` (milliseconds since 1970).
    LocalHours(const QDateTime& reference, qint64 firstMSecs, qint64 lastMSecs);

    int hourAt(qint64 msecsSinceEpoch) const;

private:
    struct Offset
    {
        qint64 fromMSecs;
        int seconds;
    };

    QList<Offset> m_offsets; // ascending; the first applies before every other
};
