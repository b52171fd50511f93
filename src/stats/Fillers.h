#pragma once

#include "stats/WordCount.h"

#include <QStringList>

#include <optional>

// What the clarity card shows about filler words in a period.
struct FillerSummary
{
    QList<WordCount> topFillers; // at most 6, most frequent first
    qint64 fillerTotal = 0;
    std::optional<qint64> fillerTrendPct;

    bool operator==(const FillerSummary&) const = default;
};

// The filler expressions counted, English and Russian, in counting order.
const QStringList& fillerWords();

// How often each filler occurs in a raw transcript as a whole word between spaces; only the
// fillers that occur, in the order of fillerWords().
QList<WordCount> countFillers(const QString& raw);

// Fillers of the current records' raw transcripts, and their rate per 100 words against the
// previous window's. `previousCounts` (one list per record) empty means there is no previous
// record.
FillerSummary summarizeFillers(const QList<QList<WordCount>>& currentCounts, qint64 words,
                               const QList<QList<WordCount>>& previousCounts, qint64 prevWords);
