#include "stats/StatsPeriod.h"

#include "history/HistoryTime.h"

namespace StatsPeriods {

namespace {
struct PeriodTexts
{
    QLatin1StringView raw;
    QLatin1StringView label;
    QLatin1StringView phrase;
};

PeriodTexts texts(StatsPeriod period)
{
    switch (period) {
    case StatsPeriod::week:
        return {QLatin1StringView("week"), QLatin1StringView("Week"),
                QLatin1StringView("this week")};
    case StatsPeriod::month:
        return {QLatin1StringView("month"), QLatin1StringView("Month"),
                QLatin1StringView("this month")};
    case StatsPeriod::year:
        return {QLatin1StringView("year"), QLatin1StringView("Year"),
                QLatin1StringView("this year")};
    case StatsPeriod::all:
        break;
    }
    return {QLatin1StringView("all"), QLatin1StringView("All"), QLatin1StringView("all time")};
}

// `now` moved back by `steps` periods.
QDateTime back(StatsPeriod period, const QDateTime& now, int steps)
{
    switch (period) {
    case StatsPeriod::week:
        return now.addDays(-7 * steps);
    case StatsPeriod::month:
        return now.addMonths(-steps);
    case StatsPeriod::year:
        return now.addYears(-steps);
    case StatsPeriod::all:
        break;
    }
    return now;
}

double historyTime(const QDateTime& time)
{
    return HistoryTime::fromTimePoint(
        Clock::TimePoint(std::chrono::milliseconds(time.toMSecsSinceEpoch())));
}
} // namespace

QString rawValue(StatsPeriod period)
{
    return texts(period).raw;
}

std::optional<StatsPeriod> fromRawValue(const QString& raw)
{
    for (StatsPeriod period : all) {
        if (texts(period).raw == raw)
            return period;
    }
    return std::nullopt;
}

QString pickerLabel(StatsPeriod period)
{
    return texts(period).label;
}

QString phrase(StatsPeriod period)
{
    return texts(period).phrase;
}

StatsWindows windows(StatsPeriod period, const QDateTime& now)
{
    if (period == StatsPeriod::all)
        return {};
    return {back(period, now, 1), back(period, now, 2)};
}

PeriodRecords select(const QList<HistoryItem>& records, StatsPeriod period, const QDateTime& now)
{
    const StatsWindows bounds = windows(period, now);
    if (!bounds.currentStart)
        return {records, {}};
    const double currentStart = historyTime(*bounds.currentStart);
    const double previousStart = historyTime(*bounds.previousStart);
    PeriodRecords selected;
    for (const HistoryItem& record : records) {
        if (record.createdAt >= currentStart)
            selected.current.append(record);
        else if (record.createdAt >= previousStart)
            selected.previous.append(record);
    }
    return selected;
}

} // namespace StatsPeriods
