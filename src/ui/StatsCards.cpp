#include "ui/StatsCards.h"

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString wordsSide(qint64 words, const QLocale& locale)
{
    return locale.toString(words) + u" w"_s;
}

QString vocabDeltaText(const std::optional<qint64>& percent, StatsPeriod period)
{
    if (!percent || *percent == 0)
        return {};
    return (*percent > 0 ? u"+"_s : QString()) + QString::number(*percent) + u"% vs last "_s +
           StatsPeriods::rawValue(period);
}

QString peakLine(const std::optional<HourRange>& peak)
{
    if (!peak)
        return {};
    return u"Most active "_s + StatsCards::hourLabel(peak->start) + u"–"_s +
           StatsCards::hourLabel(peak->end + 1);
}

QList<qreal> barHeights(const QList<qint64>& hourWords)
{
    const qint64 busiest = hourWords.isEmpty() ? 0 : *std::ranges::max_element(hourWords);
    QList<qreal> bars;
    for (const qint64 words : hourWords)
        bars.append(busiest > 0 ? qreal(words) / qreal(busiest) : 0);
    return bars;
}

} // namespace

StatsCards StatsCards::of(const PeriodStats& stats, StatsPeriod period, const QLocale& locale)
{
    const QString phrase = StatsPeriods::phrase(period);
    StatsCards cards;
    cards.wordsCaption = (u"Words "_s + phrase).toUpper();
    cards.wordsValue = locale.toString(stats.words);
    if (stats.wordsDeltaPct)
        cards.wordsBadge = badge(*stats.wordsDeltaPct, true);
    if (!stats.comparisons.isEmpty())
        cards.wordsComparison = u"≈ "_s + stats.comparisons.first();

    const qint64 avgWords =
        stats.messages > 0 ? roundHalfAway(double(stats.words) / double(stats.messages)) : 0;
    cards.keyFigures = {
        {u"Messages"_s, locale.toString(stats.messages), u"text.bubble.fill"_s},
        {u"Avg words"_s, locale.toString(avgWords), u"textformat.size"_s},
        {u"Speaking pace"_s, stats.paceWpm ? locale.toString(*stats.paceWpm) : u"—"_s,
         u"speedometer"_s},
        {u"Time saved"_s, duration(stats.secondsSaved), u"clock.badge.checkmark"_s},
    };

    cards.vocabScore = QString::number(stats.vocabScore);
    cards.uniqueWordsLine = locale.toString(stats.uniqueWords) + u" unique words "_s + phrase;
    cards.vocabDelta = vocabDeltaText(stats.vocabDeltaPct, period);
    for (const WordCount& word : stats.topWords)
        cards.topWords.append(word.word);

    cards.hourBars = barHeights(stats.hourWords);
    cards.peakText = peakLine(stats.peak);

    cards.crystalClear = stats.fillerTotal == 0;
    cards.crystalClearText = u"Crystal clear — no fillers detected "_s + phrase + u'.';
    const double rate = stats.words < 1 ? 0 : double(stats.fillerTotal) / double(stats.words) * 100;
    cards.fillerRate = QString::asprintf("%.1f", rate);
    if (stats.fillerTrendPct && *stats.fillerTrendPct != 0)
        cards.fillerBadge = badge(*stats.fillerTrendPct, false);
    for (const WordCount& filler : stats.topFillers)
        cards.topFillers.append({filler.word, locale.toString(filler.count)});

    cards.phoneWords = wordsSide(stats.phoneWords, locale);
    cards.computerWords = wordsSide(stats.macWords, locale);
    const qint64 both = stats.phoneWords + stats.macWords;
    if (both > 0) {
        cards.phoneShare = qreal(stats.phoneWords) / qreal(both);
        cards.computerShare = qreal(stats.macWords) / qreal(both);
    }
    return cards;
}

QString StatsCards::duration(qint64 seconds)
{
    if (seconds < 1)
        return u"—"_s;
    if (seconds < 60)
        return QString::number(seconds) + u's';
    if (seconds < 3600)
        return QString::number(seconds / 60) + u'm';
    return QString::number(seconds / 3600) + u"h "_s + QString::number(seconds % 3600 / 60) + u'm';
}

QString StatsCards::hourLabel(qint64 hour)
{
    const qint64 h = (hour % 24 + 24) % 24;
    if (h == 0)
        return u"12a"_s;
    if (h == 12)
        return u"12p"_s;
    return h < 12 ? QString::number(h) + u'a' : QString::number(h - 12) + u'p';
}

ChangeBadge StatsCards::badge(qint64 percent, bool upIsGood)
{
    return {true, percent < 0 ? u"arrow.down.right"_s : u"arrow.up.right"_s,
            QString::number(std::abs(percent)) + u'%', (percent >= 0) == upIsGood};
}

QString StatsCards::recapTitle(StatsPeriod period)
{
    if (period == StatsPeriod::all)
        return u"Period recap"_s;
    return StatsPeriods::pickerLabel(period) + u" recap"_s;
}
