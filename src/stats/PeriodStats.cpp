#include "stats/PeriodStats.h"

#include "history/HistoryTime.h"
#include "stats/Fillers.h"
#include "stats/LinguisticProfile.h"
#include "stats/LocalHours.h"

#include <algorithm>

namespace {
// Shorter recordings are mostly key taps; their word rate means nothing.
constexpr double minPaceRecordingSec = 0.6;
constexpr double minPaceTotalSec = 5.0;
constexpr qint64 minPaceTotalWords = 3;
constexpr double typingWordsPerMinute = 40;

class Analyses
{
public:
    explicit Analyses(const TextAnalyses& analyses)
        : m_analyses(analyses)
    {}

    qint64 words(const QString& text) const
    {
        const auto found = m_analyses.constFind(text);
        return found == m_analyses.constEnd() ? 0 : found.value()->wordCount;
    }

    QList<TaggedText> tags(const QList<HistoryItem>& records) const
    {
        QList<TaggedText> tagged;
        tagged.reserve(records.size());
        for (const HistoryItem& record : records) {
            const auto found = m_analyses.constFind(record.text);
            if (found != m_analyses.constEnd())
                tagged.append(found.value()->tags);
        }
        return tagged;
    }

private:
    const TextAnalyses& m_analyses;
};

// Speech of the records long enough to give a meaningful rate.
struct Pace
{
    qint64 words = 0;
    double seconds = 0;
    qint64 bestWpm = 0;

    bool isMeaningful() const { return seconds > minPaceTotalSec && words > minPaceTotalWords; }

    qint64 secondsSaved() const
    {
        const double typingSeconds = words / typingWordsPerMinute * 60;
        return std::max<qint64>(0, qint64(typingSeconds - seconds));
    }
};

Pace paceOf(const QList<HistoryItem>& records, const Analyses& analyses)
{
    Pace pace;
    for (const HistoryItem& record : records) {
        const qint64 words = analyses.words(record.text);
        if (!record.durationSec || *record.durationSec <= minPaceRecordingSec || words <= 0)
            continue;
        pace.words += words;
        pace.seconds += *record.durationSec;
        pace.bestWpm = std::max(pace.bestWpm, roundHalfAway(words / (*record.durationSec / 60)));
    }
    return pace;
}

qint64 msecsOf(const HistoryItem& record)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               HistoryTime::toTimePoint(record.createdAt).time_since_epoch())
        .count();
}

LocalHours localHoursFor(const QList<HistoryItem>& records, const QDateTime& now)
{
    const auto [first, last] = std::minmax_element(
        records.begin(), records.end(),
        [](const HistoryItem& a, const HistoryItem& b) { return a.createdAt < b.createdAt; });
    return LocalHours(now, msecsOf(*first), msecsOf(*last));
}

QList<QList<WordCount>> fillersOf(const QList<HistoryItem>& records, const FillerCounts& fillers)
{
    QList<QList<WordCount>> counts;
    counts.reserve(records.size());
    for (const HistoryItem& record : records)
        counts.append(fillers.value(record.raw));
    return counts;
}

void addCurrentTotals(PeriodStats& stats, const QList<HistoryItem>& current,
                      const Analyses& analyses, const QDateTime& now)
{
    stats.messages = current.size();
    const LocalHours hours = localHoursFor(current, now);
    for (const HistoryItem& record : current) {
        const qint64 words = analyses.words(record.text);
        stats.words += words;
        // Only this computer's own records say "mac"; phones and older records say anything else.
        const bool desktop = record.device == QStringLiteral("mac");
        (desktop ? stats.macWords : stats.phoneWords) += words;
        ++(desktop ? stats.macMessages : stats.phoneMessages);
        stats.hourWords[hours.hourAt(msecsOf(record))] += words;
        if (record.sentAt)
            ++stats.sentCount;
    }
    stats.comparisons = buildComparisons(stats.words);
    stats.peak = peakWindow(stats.hourWords);
}

void addPace(PeriodStats& stats, const PeriodRecords& records, const Analyses& analyses)
{
    const Pace pace = paceOf(records.current, analyses);
    if (pace.isMeaningful()) {
        stats.paceWpm = roundHalfAway(pace.words / (pace.seconds / 60));
        stats.secondsSaved = pace.secondsSaved();
        if (pace.bestWpm >= 1)
            stats.bestWpm = pace.bestWpm;
        stats.spokenSec = qint64(pace.seconds);
    }
    const Pace previous = paceOf(records.previous, analyses);
    if (previous.isMeaningful())
        stats.prevSecondsSaved = previous.secondsSaved();
}

void addVocabulary(PeriodStats& stats, const PeriodRecords& records, const Analyses& analyses)
{
    const LinguisticProfile profile = buildLinguisticProfile(analyses.tags(records.current));
    stats.uniqueWords = profile.uniqueWords;
    stats.pos = {profile.nouns, profile.verbs, profile.adjectives, profile.other};
    stats.topWords = profile.topWords;
    stats.vocabScore = scoreVocabulary(profile.uniqueWords, profile.nouns + profile.verbs +
                                                                profile.adjectives + profile.other);
    if (!records.previous.isEmpty()) {
        const LinguisticProfile before = buildLinguisticProfile(analyses.tags(records.previous));
        stats.vocabDeltaPct = deltaPercent(profile.uniqueWords, before.uniqueWords);
    }
}
} // namespace

PeriodStats computePeriodStats(const PeriodRecords& records, const QDateTime& now,
                               const TextAnalyses& textAnalyses, const FillerCounts& fillers)
{
    if (records.current.isEmpty())
        return {};
    const Analyses analyses(textAnalyses);
    PeriodStats stats;
    addCurrentTotals(stats, records.current, analyses, now);
    stats.prevMessages = records.previous.size();
    for (const HistoryItem& record : records.previous)
        stats.prevWords += analyses.words(record.text);
    stats.wordsDeltaPct = deltaPercent(stats.words, stats.prevWords);
    addPace(stats, records, analyses);
    addVocabulary(stats, records, analyses);

    const FillerSummary summary =
        summarizeFillers(fillersOf(records.current, fillers), stats.words,
                         fillersOf(records.previous, fillers), stats.prevWords);
    stats.topFillers = summary.topFillers;
    stats.fillerTotal = summary.fillerTotal;
    stats.fillerTrendPct = summary.fillerTrendPct;
    return stats;
}
