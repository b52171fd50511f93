#pragma once

#include "stats/PeriodStats.h"
#include "stats/StatsControl.h"
#include "stats/TextAnalyzer.h"

// Computes period statistics from history records. Tagging is remembered per distinct text, in
// memory and in a cache file, so only texts never seen before cost time. Safe to use from
// several threads at once; keep it off the main thread (the first run over a long history tags
// every text).
class StatsEngine
{
public:
    // An empty `cachePath` keeps the tags in memory only.
    StatsEngine(const WordTokenizer& tokenizer, LanguageTagger& tagger, const QString& cachePath);

    // The cache file under the user's cache folder ($XDG_CACHE_HOME/Murmo).
    static QString defaultCachePath();

    // The statistics of `records` (a snapshot, any order) for `period` relative to `now`; the
    // hours of the day are in now's time zone. None only when `control.stop` was requested.
    std::optional<PeriodStats> computePeriodStats(const QList<HistoryItem>& records,
                                                  StatsPeriod period, const QDateTime& now,
                                                  const StatsControl& control = {});

    // The word count the statistics use: words and numbers, not punctuation.
    qint64 countWords(const QString& text) const;

private:
    TextAnalyzer m_analyzer;
};
