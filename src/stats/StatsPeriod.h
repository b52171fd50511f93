#pragma once

#include "history/HistoryItem.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// The span of time the statistics cover; the order is the order of the period picker.
enum class StatsPeriod
{
    week,
    month,
    year,
    all
};

// Where the current and the previous window of a period begin. Windows are rolling: a month
// back from 31 March is the last day of February at the same time of day, in the local calendar.
struct StatsWindows
{
    std::optional<QDateTime> currentStart;  // none: everything is current
    std::optional<QDateTime> previousStart; // none: there is no previous window
};

// The records of a period's current window and of the window before it, in their given order.
struct PeriodRecords
{
    QList<HistoryItem> current;
    QList<HistoryItem> previous;
};

namespace StatsPeriods {

inline constexpr std::array<StatsPeriod, 4> all{StatsPeriod::week, StatsPeriod::month,
                                                StatsPeriod::year, StatsPeriod::all};

// "week", "month", "year", "all".
QString rawValue(StatsPeriod period);
std::optional<StatsPeriod> fromRawValue(const QString& raw);
// "Week", "Month", "Year", "All".
QString pickerLabel(StatsPeriod period);
// "this week", "this month", "this year", "all time".
QString phrase(StatsPeriod period);

// The windows relative to `now`, in now's time zone.
StatsWindows windows(StatsPeriod period, const QDateTime& now);
// Current: created at or after the current start (a record from the future included).
// Previous: at or after the previous start and before the current start.
PeriodRecords select(const QList<HistoryItem>& records, StatsPeriod period, const QDateTime& now);

} // namespace StatsPeriods
