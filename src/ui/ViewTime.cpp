#include "ui/ViewTime.h"

#include "history/HistoryTime.h"

#include <chrono>

namespace ViewTime {

QDateTime local(Clock::TimePoint time)
{
    return QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count());
}

QDateTime created(const HistoryItem& item)
{
    return local(HistoryTime::toTimePoint(item.createdAt));
}

} // namespace ViewTime
