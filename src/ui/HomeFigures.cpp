#include "ui/HomeFigures.h"

#include "history/HistoryTime.h"

#include <QTimeZone>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr double week = 7 * 24 * 3600;
constexpr double typingWpm = 40;
constexpr double speakingWpm = 150;

double historySeconds(const QDateTime& time)
{
    return HistoryTime::fromTimePoint(
        Clock::TimePoint(std::chrono::milliseconds(time.toMSecsSinceEpoch())));
}

double minutesSaved(const HistoryItem& item, qint64 words)
{
    const double spoken = item.durationSec.value_or(double(words) / speakingWpm * 60);
    return std::max(0.0, double(words) / typingWpm - spoken / 60);
}

} // namespace

HomeFigures HomeFigures::of(const QList<HistoryItem>& items, const QDateTime& now)
{
    const QDate today = now.date();
    const double dayStart = historySeconds(today.startOfDay(now.timeZone()));
    const double dayEnd = historySeconds(today.addDays(1).startOfDay(now.timeZone()));
    const double weekStart = historySeconds(now) - week;

    HomeFigures figures;
    qint64 timedWords = 0;
    double timedSeconds = 0;
    double saved = 0;
    for (const HistoryItem& item : items) {
        const qint64 words = countWords(item.text);
        figures.totalWords += words;
        if (item.createdAt >= dayStart && item.createdAt < dayEnd) {
            figures.wordsToday += words;
            if (figures.feed.size() < feedLength)
                figures.feed.append(item);
        }
        if (item.durationSec && *item.durationSec > 1.0) {
            timedWords += words;
            timedSeconds += *item.durationSec;
        }
        if (item.createdAt > weekStart)
            saved += minutesSaved(item, words);
    }
    if (figures.feed.isEmpty())
        figures.feed = items.first(std::min(items.size(), feedLength));
    const double minutes = timedSeconds / 60;
    figures.avgWpm = minutes > 0.05 ? std::llround(double(timedWords) / minutes) : 0;
    figures.savedThisWeek = std::llround(saved);
    return figures;
}

qint64 HomeFigures::countWords(QStringView text)
{
    qint64 words = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool blank = c.isSpace();
        words += !blank && !inWord;
        inWord = !blank;
    }
    return words;
}

QString HomeFigures::savedText(qint64 minutes)
{
    if (minutes < 60)
        return QString::number(minutes) + u'm';
    return QString::number(minutes / 60) + u"h "_s + QString::number(minutes % 60) + u'm';
}

qint64 HomeFigures::profileProgress(qint64 totalWords)
{
    return std::min(totalWords, unlockAt) * 100 / unlockAt;
}

qint64 HomeFigures::wordsToUnlock(qint64 totalWords)
{
    return std::max<qint64>(0, unlockAt - totalWords);
}

QString HomeFigures::greeting(const QString& fullName)
{
    const QStringList parts = fullName.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return u"Jump back into flow"_s;
    return u"Hey "_s + parts.first() + u", jump back into flow"_s;
}

QString HomeFigures::channelSymbol(const std::optional<QString>& sentVia)
{
    const QString channel = sentVia.value_or(QString()).toLower();
    if (channel.contains(u"mail"_s))
        return u"envelope"_s;
    if (channel.contains(u"telegram"_s) || channel.contains(u"chat"_s))
        return u"bubble.left"_s;
    return u"note.text"_s;
}

QString HomeFigures::deviceSymbol(const std::optional<QString>& device)
{
    return device == u"mac"_s ? u"laptopcomputer"_s : u"iphone"_s;
}
