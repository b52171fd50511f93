#include "stats/StatsFormulas.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
constexpr double wordsPerPage = 250;
constexpr double wordsInFirstHarryPotter = 77000;
constexpr double readingWordsPerMinute = 200;
constexpr double talkingWordsPerMinute = 150;

QString sizeEntry(qint64 words)
{
    const qint64 pages = std::max<qint64>(1, roundHalfAway(words / wordsPerPage));
    if (words < 50)
        return QStringLiteral("a quick text");
    if (words < 250)
        return QStringLiteral("a long text message");
    if (words < 700)
        return QStringLiteral("a wedding toast");
    if (words < 2500)
        return QStringLiteral("a %1-page short story").arg(pages);
    if (words < 15000)
        return QStringLiteral("a %1-page novella").arg(pages);
    if (words < 90000)
        return QStringLiteral("a %1-page novel").arg(pages);
    return {};
}

QString bookEntry(qint64 words)
{
    const double books = words / wordsInFirstHarryPotter;
    if (words < 4000)
        return {};
    if (words < 77000)
        return QStringLiteral("%1% of Harry Potter (book 1)").arg(roundHalfAway(books * 100));
    return QString::asprintf("%.1f", books) + QStringLiteral("× Harry Potter (book 1)");
}
} // namespace

qint64 roundHalfAway(double value)
{
    return std::llround(value);
}

std::optional<qint64> deltaPercent(qint64 current, qint64 previous)
{
    if (previous < 1)
        return std::nullopt;
    return roundHalfAway(double(current - previous) / double(previous) * 100);
}

qint64 scoreVocabulary(qint64 unique, qint64 total)
{
    if (total < 1)
        return 0;
    return std::min<qint64>(100, roundHalfAway(unique / std::sqrt(double(total)) * 4.6));
}

QStringList buildComparisons(qint64 words)
{
    if (words < 1)
        return {};
    QStringList entries;
    for (const QString& entry : {sizeEntry(words), bookEntry(words)}) {
        if (!entry.isEmpty())
            entries << entry;
    }
    const qint64 reading = roundHalfAway(words / readingWordsPerMinute);
    if (reading >= 1)
        entries << QStringLiteral("%1 min of reading").arg(reading);
    const qint64 talking = roundHalfAway(words / talkingWordsPerMinute);
    if (talking >= 3)
        entries << QStringLiteral("%1 min of talking nonstop").arg(talking);
    return entries;
}

std::optional<HourRange> peakWindow(const QList<qint64>& hourWords)
{
    if (std::accumulate(hourWords.begin(), hourWords.end(), qint64(0)) < 1)
        return std::nullopt;
    std::optional<HourRange> best;
    qint64 bestSum = 0;
    for (qsizetype start = 0; start + 2 < hourWords.size(); ++start) {
        const qint64 sum = hourWords[start] + hourWords[start + 1] + hourWords[start + 2];
        if (!best || sum > bestSum) {
            best = HourRange{start, start + 2};
            bestSum = sum;
        }
    }
    return best;
}
