#pragma once

#include "stats/PeriodStats.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// A change against the previous period: an arrow and the size of the change.
struct ChangeBadge
{
    bool visible = false;
    QString symbol;
    QString text;
    // Whether the change is for the better (more words, fewer fillers).
    bool good = true;
};

// One of the four key figures under the words card.
struct KeyFigure
{
    QString title;
    QString value;
    QString symbol;
};

struct FillerCount
{
    QString word;
    QString count;
};

// Every text and number the statistics cards show for one period's statistics.
struct StatsCards
{
    QString wordsCaption;
    QString wordsValue;
    ChangeBadge wordsBadge;
    QString wordsComparison; // empty: none

    QList<KeyFigure> keyFigures;

    QString vocabScore;
    QString uniqueWordsLine;
    QString vocabDelta; // empty: none
    QStringList topWords;

    QList<qreal> hourBars; // 24 heights, 1 for the busiest hour
    QString peakText;      // empty: no peak

    bool crystalClear = false;
    QString crystalClearText;
    QString fillerRate;
    ChangeBadge fillerBadge;
    QList<FillerCount> topFillers;

    QString phoneWords;
    QString computerWords;
    // Each side's part of the words of both; 0 for both when there are none.
    qreal phoneShare = 0;
    qreal computerShare = 0;

    static StatsCards of(const PeriodStats& stats, StatsPeriod period, const QLocale& locale);

    // "—", "45s", "12m", "2h 5m".
    static QString duration(qint64 seconds);
    // "12a", "9a", "12p", "11p".
    static QString hourLabel(qint64 hour);
    static ChangeBadge badge(qint64 percent, bool upIsGood);
    // "Week recap", …, "Period recap" for all time.
    static QString recapTitle(StatsPeriod period);
};
