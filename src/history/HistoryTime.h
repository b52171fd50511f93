#pragma once

#include "platform/Clock.h"

// Time points of the history document: seconds since 2001-01-01 00:00:00 UTC.
namespace HistoryTime {

double fromTimePoint(Clock::TimePoint time);
Clock::TimePoint toTimePoint(double secondsSince2001);

} // namespace HistoryTime
