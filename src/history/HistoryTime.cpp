#include "history/HistoryTime.h"

namespace {
// 2001-01-01 00:00:00 UTC in seconds since 1970.
constexpr std::chrono::seconds referenceDate{978307200};
} // namespace

namespace HistoryTime {

double fromTimePoint(Clock::TimePoint time)
{
    // Subtract in integer ticks first: the difference is exact, only the final division rounds.
    const auto sinceReference = time.time_since_epoch() - referenceDate;
    return std::chrono::duration<double>(sinceReference).count();
}

Clock::TimePoint toTimePoint(double secondsSince2001)
{
    const auto sinceReference = std::chrono::round<Clock::TimePoint::duration>(
        std::chrono::duration<double>(secondsSince2001));
    return Clock::TimePoint(referenceDate + sinceReference);
}

} // namespace HistoryTime
