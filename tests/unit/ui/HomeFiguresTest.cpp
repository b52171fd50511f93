#include "ui/HomeFigures.h"

#include "history/HistoryTime.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// 2025-03-12 14:00 in Berlin, a Wednesday.
const QTimeZone berlin("Europe/Berlin");
const QDateTime now(QDate(2025, 3, 12), QTime(14, 0), berlin);

HistoryItem item(const QString& text, const QDateTime& created,
                 std::optional<double> durationSec = std::nullopt)
{
    HistoryItem record;
    record.id = QUuid::createUuid();
    record.text = text;
    record.createdAt = HistoryTime::fromTimePoint(
        Clock::TimePoint(std::chrono::milliseconds(created.toMSecsSinceEpoch())));
    record.durationSec = durationSec;
    return record;
}

QString words(int count)
{
    return u"word "_s.repeated(count);
}

} // namespace

TEST(HomeFiguresTest, AnEmptyHistoryShowsZeroesAndTheWholeWayToTheProfile)
{
    const HomeFigures figures = HomeFigures::of({}, now);
    EXPECT_TRUE(figures.feed.isEmpty());
    EXPECT_EQ(figures.wordsToday, 0);
    EXPECT_EQ(figures.avgWpm, 0);
    EXPECT_EQ(figures.savedThisWeek, 0);
    EXPECT_EQ(HomeFigures::profileProgress(figures.totalWords), 0);
    EXPECT_EQ(HomeFigures::wordsToUnlock(figures.totalWords), 2000);
    EXPECT_EQ(HomeFigures::profileProgress(1999), 99);
    EXPECT_EQ(HomeFigures::profileProgress(5000), 100);
    EXPECT_EQ(HomeFigures::wordsToUnlock(5000), 0);
}

TEST(HomeFiguresTest, TodayIsTheLocalCalendarDay)
{
    const QList<HistoryItem> items{
        item(u"one two"_s, now.addSecs(-60)),
        item(u"three"_s, QDateTime(QDate(2025, 3, 12), QTime(0, 0), berlin)),
        item(u"late last night"_s, QDateTime(QDate(2025, 3, 11), QTime(23, 59), berlin)),
    };
    const HomeFigures figures = HomeFigures::of(items, now);
    EXPECT_EQ(figures.wordsToday, 3);
    EXPECT_EQ(figures.feed, items.first(2));
    EXPECT_EQ(figures.totalWords, 6);
}

TEST(HomeFiguresTest, WithNothingTodayTheFeedShowsTheNewestFourOfAll)
{
    QList<HistoryItem> items;
    for (int day = 1; day <= 6; ++day)
        items.append(item(u"earlier"_s, now.addDays(-day)));
    const HomeFigures figures = HomeFigures::of(items, now);
    EXPECT_EQ(figures.feed, items.first(4));
    EXPECT_EQ(figures.wordsToday, 0);
}

TEST(HomeFiguresTest, WordsAreRunsOfNonBlankCharacters)
{
    EXPECT_EQ(HomeFigures::countWords(u""), 0);
    EXPECT_EQ(HomeFigures::countWords(u"  \n\t "), 0);
    EXPECT_EQ(HomeFigures::countWords(u"  Hello,\nworld ! "), 3);
    EXPECT_EQ(HomeFigures::countWords(u"no\u00a0break\u2003space"), 3);
}

TEST(HomeFiguresTest, TimeSavedTypesAtFortyAndSpeaksAtOneFiftyOverTheLastSevenDays)
{
    // 30 words in 12 s save 0.75 − 0.2 = 0.55 min; 40 words without a duration save
    // 1 − 40/150 ≈ 0.733 min; a slow dictation saves nothing rather than costing time.
    const QList<HistoryItem> items{
        item(words(30), now.addDays(-1), 12.0),
        item(words(30), now.addDays(-2), 12.0),
        item(words(40), now.addDays(-3)),
        item(words(10), now.addDays(-4), 120.0),
        item(words(400), now.addSecs(-7 * 24 * 3600), 1.0), // exactly a week ago: out
    };
    EXPECT_EQ(HomeFigures::of(items, now).savedThisWeek, 2); // 1.833 rounded
    EXPECT_EQ(HomeFigures::of(items.first(1), now).savedThisWeek, 1);
}

TEST(HomeFiguresTest, AveragePaceCountsOnlyRecordingsLongerThanASecond)
{
    EXPECT_EQ(HomeFigures::of({item(words(50), now, 20.0), item(words(30), now, 20.0),
                               item(words(500), now, 1.0), item(words(500), now)},
                              now)
                  .avgWpm,
              120);
    // Three seconds in all are too little to measure a pace.
    EXPECT_EQ(HomeFigures::of({item(words(10), now, 1.5), item(words(10), now, 1.5)}, now).avgWpm,
              0);
}

TEST(HomeFiguresTest, Texts)
{
    EXPECT_EQ(HomeFigures::savedText(0), u"0m"_s);
    EXPECT_EQ(HomeFigures::savedText(59), u"59m"_s);
    EXPECT_EQ(HomeFigures::savedText(60), u"1h 0m"_s);
    EXPECT_EQ(HomeFigures::savedText(75), u"1h 15m"_s);

    EXPECT_EQ(HomeFigures::greeting(u"Ada Lovelace"_s), u"Hey Ada, jump back into flow"_s);
    EXPECT_EQ(HomeFigures::greeting(u"  Ada"_s), u"Hey Ada, jump back into flow"_s);
    EXPECT_EQ(HomeFigures::greeting(u""_s), u"Jump back into flow"_s);
    EXPECT_EQ(HomeFigures::greeting(u"   "_s), u"Jump back into flow"_s);

    EXPECT_EQ(HomeFigures::channelSymbol(u"Gmail"_s), u"envelope"_s);
    EXPECT_EQ(HomeFigures::channelSymbol(u"Telegram"_s), u"bubble.left"_s);
    EXPECT_EQ(HomeFigures::channelSymbol(u"Google Chat"_s), u"bubble.left"_s);
    EXPECT_EQ(HomeFigures::channelSymbol(std::nullopt), u"note.text"_s);

    EXPECT_EQ(HomeFigures::deviceSymbol(u"mac"_s), u"laptopcomputer"_s);
    EXPECT_EQ(HomeFigures::deviceSymbol(u"Mac"_s), u"iphone"_s);
    EXPECT_EQ(HomeFigures::deviceSymbol(std::nullopt), u"iphone"_s);
}
