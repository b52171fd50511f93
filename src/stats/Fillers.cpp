#include "stats/Fillers.h"

#include "stats/StatsFormulas.h"
#include "text/FillerExpressions.h"

#include <algorithm>

namespace {
constexpr qsizetype maxTopFillers = 6;

qint64 total(const QList<QList<WordCount>>& counts)
{
    qint64 sum = 0;
    for (const QList<WordCount>& perText : counts) {
        for (const WordCount& filler : perText)
            sum += filler.count;
    }
    return sum;
}

double ratePer100(qint64 fillers, qint64 words)
{
    return words >= 1 ? double(fillers) / double(words) * 100 : 0;
}
} // namespace

const QStringList& fillerWords()
{
    static const QStringList words = [] {
        QStringList list;
        for (const std::string_view filler : FillerExpressions::all)
            list.append(QString::fromUtf8(filler.data(), qsizetype(filler.size())));
        return list;
    }();
    return words;
}

QList<WordCount> countFillers(const QString& raw)
{
    const QString haystack = QLatin1Char(' ') + raw.toLower() + QLatin1Char(' ');
    QList<WordCount> counts;
    for (const QString& filler : fillerWords()) {
        const QString needle = QLatin1Char(' ') + filler + QLatin1Char(' ');
        // Restarting one character after each match lets repeated fillers share the space
        // between them: "ну ну ну" is three.
        qint64 count = 0;
        for (qsizetype at = haystack.indexOf(needle); at >= 0;
             at = haystack.indexOf(needle, at + 1))
            ++count;
        if (count > 0)
            counts.append({filler, count});
    }
    return counts;
}

FillerSummary summarizeFillers(const QList<QList<WordCount>>& currentCounts, qint64 words,
                               const QList<QList<WordCount>>& previousCounts, qint64 prevWords)
{
    FillerSummary summary;
    QList<WordCount> perFiller;
    for (const QString& filler : fillerWords())
        perFiller.append({filler, 0});
    for (const QList<WordCount>& perText : currentCounts) {
        for (const WordCount& filler : perText)
            perFiller[fillerWords().indexOf(filler.word)].count += filler.count;
    }
    perFiller.removeIf([](const WordCount& filler) { return filler.count == 0; });
    std::stable_sort(perFiller.begin(), perFiller.end(),
                     [](const WordCount& a, const WordCount& b) { return a.count > b.count; });
    summary.fillerTotal = total(currentCounts);
    summary.topFillers = perFiller.first(std::min(maxTopFillers, perFiller.size()));

    if (previousCounts.isEmpty() || prevWords <= 0)
        return summary;
    const double previousRate = ratePer100(total(previousCounts), prevWords);
    if (previousRate > 0) {
        const double currentRate = ratePer100(summary.fillerTotal, words);
        summary.fillerTrendPct = roundHalfAway((currentRate - previousRate) / previousRate * 100);
    }
    return summary;
}
