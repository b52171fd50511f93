#include "stats/StatsEngine.h"

#include <QStandardPaths>

StatsEngine::StatsEngine(const WordTokenizer& tokenizer, LanguageTagger& tagger,
                         const QString& cachePath)
    : m_analyzer(tokenizer, tagger, cachePath)
{}

QString StatsEngine::defaultCachePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Murmo/word-tags");
}

std::optional<PeriodStats> StatsEngine::computePeriodStats(const QList<HistoryItem>& records,
                                                           StatsPeriod period, const QDateTime& now,
                                                           const StatsControl& control)
{
    const PeriodRecords selected = StatsPeriods::select(records, period, now);
    if (selected.current.isEmpty())
        return PeriodStats{};
    QStringList texts;
    QStringList raws;
    for (const QList<HistoryItem>* window : {&selected.current, &selected.previous}) {
        for (const HistoryItem& record : *window) {
            texts.append(record.text);
            raws.append(record.raw);
        }
    }
    const std::optional<TextAnalyses> analyses = m_analyzer.analyse(texts, control);
    if (!analyses || control.stop.stop_requested())
        return std::nullopt;
    return ::computePeriodStats(selected, now, *analyses, m_analyzer.countFillers(raws));
}

qint64 StatsEngine::countWords(const QString& text) const
{
    return m_analyzer.countWords(text);
}
