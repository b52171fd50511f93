#pragma once

#include <QtGlobal>

#include <functional>
#include <stop_token>

// How a caller steers a long statistics computation: it can ask it to stop, and hear how far
// the tagging of new texts has got (texts done of texts to do; never called when none are new),
// on the computing thread.
struct StatsControl
{
    std::stop_token stop;
    std::function<void(qint64 done, qint64 total)> progress;
};
