#pragma once

#include <QList>
#include <QStringList>

#include <optional>

// The first and last hour (both inclusive) of a stretch of the day.
struct HourRange
{
    qint64 start = 0;
    qint64 end = 0;

    bool operator==(const HourRange&) const = default;
};

// Nearest integer, halves away from zero.
qint64 roundHalfAway(double value);

// Change from `previous` to `current` in percent; none when there was nothing before.
std::optional<qint64> deltaPercent(qint64 current, qint64 previous);

// 0–100: distinct lemmas against the square root of all tagged words, so that a longer history
// is not rewarded just for its length.
qint64 scoreVocabulary(qint64 unique, qint64 total);

// Plain-language equivalents of a number of words: size, book, reading time, talking time.
QStringList buildComparisons(qint64 words);

// The busiest three-hour stretch of a day given as words per hour; the earliest one wins a tie.
std::optional<HourRange> peakWindow(const QList<qint64>& hourWords);
