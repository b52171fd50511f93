#pragma once

#include "history/HistoryItem.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The running numbers of the home dashboard, derived from the history (newest first). Words here
// are runs of non-blank characters: a simpler count than the statistics', and not interchangeable
// with it.
struct HomeFigures
{
    // Words of dictation that unlock the voice profile.
    static constexpr qint64 unlockAt = 2000;
    static constexpr qsizetype feedLength = 4;

    qint64 wordsToday = 0;
    qint64 avgWpm = 0;
    qint64 savedThisWeek = 0; // minutes
    qint64 totalWords = 0;
    // Today's first items, or the first of all items when there are none today.
    QList<HistoryItem> feed;

    // `now` also gives the calendar day and time zone of "today".
    static HomeFigures of(const QList<HistoryItem>& items, const QDateTime& now);

    static qint64 countWords(QStringView text);
    // "45m", "1h 5m".
    static QString savedText(qint64 minutes);
    // Whole percent of the way to `unlockAt`, never over 100.
    static qint64 profileProgress(qint64 totalWords);
    static qint64 wordsToUnlock(qint64 totalWords);
    static QString greeting(const QString& fullName);
    // The symbol of a feed row, by the channel the text was sent through.
    static QString channelSymbol(const std::optional<QString>& sentVia);
    // The symbol of a history row: the desktop's own label, anything else is a phone.
    static QString deviceSymbol(const std::optional<QString>& device);
};
