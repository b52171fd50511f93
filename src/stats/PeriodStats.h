#pragma once

#include "stats/StatsFormulas.h"
#include "stats/StatsPeriod.h"
#include "stats/TextAnalysis.h"
#include "stats/WordCount.h"

#include <optional>

// Tagged words of a period by part of speech; adverbs count as `other`.
struct PartsOfSpeech
{
    qint64 noun = 0;
    qint64 verb = 0;
    qint64 adj = 0;
    qint64 other = 0;

    bool operator==(const PartsOfSpeech&) const = default;
};

// Everything the statistics screen shows for one period. A default-constructed value is the
// empty one: what a period without records shows.
struct PeriodStats
{
    qint64 messages = 0;
    qint64 words = 0;
    std::optional<qint64> wordsDeltaPct;
    QStringList comparisons;
    std::optional<qint64> paceWpm;
    std::optional<qint64> bestWpm;
    qint64 secondsSaved = 0;
    qint64 spokenSec = 0;
    qint64 phoneWords = 0;
    qint64 macWords = 0;
    qint64 phoneMessages = 0;
    qint64 macMessages = 0;
    qint64 prevMessages = 0;
    qint64 prevWords = 0;
    qint64 prevSecondsSaved = 0;
    qint64 uniqueWords = 0;
    qint64 vocabScore = 0;
    std::optional<qint64> vocabDeltaPct;
    PartsOfSpeech pos;
    std::optional<qint64> fillerTrendPct;
    QList<WordCount> topFillers;
    QList<qint64> hourWords = QList<qint64>(24, 0);
    std::optional<HourRange> peak;
    QList<WordCount> topWords;
    qint64 sentCount = 0;
    qint64 fillerTotal = 0;

    bool operator==(const PeriodStats&) const = default;
};

// The statistics of the selected records, with every text's analysis already in `analyses` and
// every raw transcript's fillers in `fillers`. `now` gives the time zone of the hours of the day.
// Pure: may run on any thread.
PeriodStats computePeriodStats(const PeriodRecords& records, const QDateTime& now,
                               const TextAnalyses& analyses, const FillerCounts& fillers);
