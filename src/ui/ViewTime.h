#pragma once

#include "history/HistoryItem.h"
#include "platform/Clock.h"

#include <QDateTime>

// Time points as the views show them: local date and time.
namespace ViewTime {

QDateTime local(Clock::TimePoint time);
QDateTime created(const HistoryItem& item);

} // namespace ViewTime
