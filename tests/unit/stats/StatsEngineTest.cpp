#include "stats/StatsEngine.h"
#include "fakes/FakeLanguageTagger.h"
#include "history/HistoryTime.h"
#include "platform/linux/IcuWordTokenizer.h"
#include "stats/StatsTask.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

// "now" is a Sunday noon in a zone with daylight saving, so that hours are local hours.
const QTimeZone zone("Europe/Berlin");
const QDateTime now(QDate(2024, 3, 31), QTime(12, 0), zone);

QString words(int count, const QString& word = QStringLiteral("word"))
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << word;
    return list.join(QLatin1Char(' '));
}

HistoryItem record(const QString& text, const QDateTime& at, std::optional<double> duration = {},
                   std::optional<QString> device = QStringLiteral("mac"), const QString& raw = {})
{
    HistoryItem item;
    item.text = text;
    item.raw = raw.isEmpty() ? text : raw;
    item.createdAt = HistoryTime::fromTimePoint(
        Clock::TimePoint(std::chrono::milliseconds(at.toMSecsSinceEpoch())));
    item.durationSec = duration;
    item.device = device;
    return item;
}

class StatsEngineTest : public testing::Test
{
protected:
    StatsEngineTest()
    {
        tagger.define(QStringLiteral("ran"), LexicalClass::verb, QStringLiteral("run"));
        tagger.define(QStringLiteral("runs"), LexicalClass::verb, QStringLiteral("run"));
        tagger.define(QStringLiteral("fast"), LexicalClass::adverb, QStringLiteral("fast"));
        tagger.define(QStringLiteral("the"), LexicalClass::other, QStringLiteral("the"));
        tagger.define(QStringLiteral("red"), LexicalClass::adjective, QStringLiteral("red"));
    }

    PeriodStats compute(const QList<HistoryItem>& records, StatsPeriod period = StatsPeriod::all)
    {
        return *engine.computePeriodStats(records, period, now);
    }

    QString cachePath() const { return directory.filePath(QStringLiteral("cache/word-tags")); }

    QTemporaryDir directory;
    IcuWordTokenizer tokenizer;
    FakeLanguageTagger tagger{tokenizer};
    StatsEngine engine{tokenizer, tagger, cachePath()};
};

TEST_F(StatsEngineTest, AWindowWithoutRecordsGivesTheEmptyValue)
{
    const QList<HistoryItem> lastWeekOnly{record(words(40), now.addDays(-10), 20.0)};
    EXPECT_EQ(compute(lastWeekOnly, StatsPeriod::week), PeriodStats());
    EXPECT_EQ(PeriodStats().hourWords, QList<qint64>(24, 0));

    const PeriodStats all = compute(lastWeekOnly, StatsPeriod::all);
    EXPECT_EQ(all.words, 40);
    EXPECT_EQ(all.prevMessages, 0);
    EXPECT_EQ(all.wordsDeltaPct, std::nullopt);
    EXPECT_EQ(all.vocabDeltaPct, std::nullopt);
    EXPECT_EQ(all.fillerTrendPct, std::nullopt);
}

TEST_F(StatsEngineTest, SplitsWordsByWindowAndDevice)
{
    const PeriodStats stats = compute(
        {
            record(words(50) + QStringLiteral("!"), now.addDays(-1), {}, QStringLiteral("mac")),
            record(words(40), now.addDays(-2), {}, QStringLiteral("Mac")),
            record(words(30), now.addDays(-3), {}, QStringLiteral("iphone")),
            record(words(30), now.addDays(-6), {}, std::nullopt),
            record(QString(), now.addSecs(3600), {}, QStringLiteral("mac")), // from the future
            record(words(100), now.addDays(-8)),
            record(words(999), now.addDays(-15)),
        },
        StatsPeriod::week);
    EXPECT_EQ(stats.messages, 5);
    EXPECT_EQ(stats.words, 150);
    EXPECT_EQ(stats.macWords, 50);
    EXPECT_EQ(stats.macMessages, 2);
    EXPECT_EQ(stats.phoneWords, 100);
    EXPECT_EQ(stats.phoneMessages, 3);
    EXPECT_EQ(stats.prevMessages, 1);
    EXPECT_EQ(stats.prevWords, 100);
    EXPECT_EQ(stats.wordsDeltaPct, 50);
    EXPECT_EQ(stats.comparisons.first(), QStringLiteral("a long text message"));
}

TEST_F(StatsEngineTest, PaceCountsOnlyRecordingsLongEnoughToMeasure)
{
    PeriodStats stats = compute({
        record(words(100), now, 50.0),
        record(words(20), now, 10.0),
        record(words(30), now, std::nullopt), // words, but no pace
        record(words(30), now, 0.6),
    });
    EXPECT_EQ(stats.words, 180);
    EXPECT_EQ(stats.paceWpm, 120);
    EXPECT_EQ(stats.bestWpm, 120);
    EXPECT_EQ(stats.secondsSaved, 120); // 120 words typed at 40 wpm take 180 s
    EXPECT_EQ(stats.spokenSec, 60);

    stats = compute({record(words(2), now, 2.0), record(words(2), now, 2.0)});
    EXPECT_EQ(stats.paceWpm, std::nullopt);
    EXPECT_EQ(stats.secondsSaved, 0);

    stats = compute({record(words(10), now, 60.0)}); // slower than typing
    EXPECT_EQ(stats.paceWpm, 10);
    EXPECT_EQ(stats.secondsSaved, 0);

    stats = compute({record(words(40), now.addDays(-8), 20.0), record(words(4), now, 6.0)},
                    StatsPeriod::week);
    EXPECT_EQ(stats.prevSecondsSaved, 40);
}

TEST_F(StatsEngineTest, HoursAreLocalToNowsTimeZone)
{
    const PeriodStats stats = compute({
        record(words(5), QDateTime(QDate(2024, 3, 30), QTime(23, 30), zone)),
        record(words(3), QDateTime(QDate(2024, 3, 30), QTime(0, 10), zone)),
    });
    EXPECT_EQ(stats.hourWords[23], 5);
    EXPECT_EQ(stats.hourWords[0], 3);
    EXPECT_EQ(stats.peak, (HourRange{21, 23}));
}

TEST_F(StatsEngineTest, VocabularyFillersAndSentCountComeFromTheRightTexts)
{
    HistoryItem sent = record(QStringLiteral("The red fox ran fast"), now.addDays(-1), {},
                              QStringLiteral("mac"), QStringLiteral("um the red fox uh ran fast"));
    sent.sentAt = sent.createdAt + 5;
    const PeriodStats stats = compute(
        {
            sent,
            record(QStringLiteral("The fox runs"), now.addDays(-2)),
            record(QStringLiteral("fox fox"), now.addDays(-9), {}, {}, QStringLiteral("um um")),
        },
        StatsPeriod::week);
    EXPECT_EQ(stats.pos, (PartsOfSpeech{2, 2, 1, 3}));
    EXPECT_EQ(stats.uniqueWords, 4); // red, fox, run, fast
    EXPECT_EQ(stats.topWords.first(), (WordCount{QStringLiteral("fox"), 2}));
    EXPECT_EQ(stats.vocabScore, scoreVocabulary(4, 8));
    EXPECT_EQ(stats.vocabDeltaPct, 300); // one lemma (fox) before
    EXPECT_EQ(stats.fillerTotal, 2);
    EXPECT_EQ(stats.fillerTrendPct, -75); // 25 per 100 words now, 100 before
    EXPECT_EQ(stats.sentCount, 1);
}

TEST_F(StatsEngineTest, TagsEachTextOnceAcrossRunsAndRestarts)
{
    QList<HistoryItem> records{record(QStringLiteral("first text"), now),
                               record(QStringLiteral("second text"), now),
                               record(QStringLiteral("first text"), now)};
    const PeriodStats before = compute(records);
    EXPECT_EQ(tagger.taggedTexts.size(), 2);

    records.prepend(record(QStringLiteral("third text"), now));
    compute(records);
    EXPECT_EQ(tagger.taggedTexts.last(), QStringLiteral("third text"));
    EXPECT_EQ(tagger.taggedTexts.size(), 3);

    StatsEngine restarted(tokenizer, tagger, cachePath());
    const PeriodStats after = *restarted.computePeriodStats(records, StatsPeriod::all, now);
    EXPECT_EQ(tagger.taggedTexts.size(), 3);
    EXPECT_EQ(after.words, before.words + 2);
    EXPECT_EQ(after.pos.noun, before.pos.noun + 2);
}

TEST_F(StatsEngineTest, IgnoresDamagedOrForeignCacheFilesAndRebuildsThem)
{
    const QList<HistoryItem> records{record(QStringLiteral("one"), now),
                                     record(QStringLiteral("two"), now)};
    compute(records);
    compute({record(QStringLiteral("three"), now)}); // appended as a second chunk
    QFile file(cachePath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(file.size() - 3);
    file.write("xyz");
    file.close();

    // The damaged chunk is dropped, the sound one kept, and the file rewritten.
    StatsEngine damaged(tokenizer, tagger, cachePath());
    tagger.taggedTexts.clear();
    damaged.computePeriodStats(records + QList{record(QStringLiteral("three"), now)},
                               StatsPeriod::all, now);
    EXPECT_EQ(tagger.taggedTexts, QStringList{QStringLiteral("three")});
    StatsEngine repaired(tokenizer, tagger, cachePath());
    repaired.computePeriodStats({record(QStringLiteral("three"), now)}, StatsPeriod::all, now);
    EXPECT_EQ(tagger.taggedTexts.size(), 1);

    tagger.versionName = QStringLiteral("fake 2"); // another tagger's tags are stale
    StatsEngine upgraded(tokenizer, tagger, cachePath());
    upgraded.computePeriodStats(records, StatsPeriod::all, now);
    EXPECT_EQ(tagger.taggedTexts.size(), 3);
}

TEST_F(StatsEngineTest, NeverKeepsProvisionalTags)
{
    tagger.provisional = true;
    compute({record(QStringLiteral("helper crashed"), now)});
    compute({record(QStringLiteral("helper crashed"), now)});
    EXPECT_EQ(tagger.taggedTexts.size(), 2);
}

TEST_F(StatsEngineTest, ReportsProgressAndStopsWhenAsked)
{
    QList<HistoryItem> records;
    for (int i = 0; i < 200; ++i)
        records.append(record(QStringLiteral("text %1").arg(i), now));
    std::stop_source stop;
    QList<std::pair<qint64, qint64>> reports;
    const StatsControl control{stop.get_token(), [&](qint64 done, qint64 total) {
                                   reports.append({done, total});
                                   stop.request_stop();
                               }};
    EXPECT_EQ(engine.computePeriodStats(records, StatsPeriod::all, now, control), std::nullopt);
    EXPECT_EQ(reports, (QList<std::pair<qint64, qint64>>{{64, 200}}));

    // The batch tagged before the stop is kept; the next computation tags the rest.
    reports.clear();
    const StatsControl watch{{}, [&](qint64 done, qint64 total) { reports.append({done, total}); }};
    EXPECT_TRUE(engine.computePeriodStats(records, StatsPeriod::all, now, watch));
    EXPECT_EQ(reports.last(), (std::pair<qint64, qint64>{136, 136}));
    EXPECT_EQ(tagger.taggedTexts.size(), 200);
}

TEST_F(StatsEngineTest, TaskDeliversResultsOnItsOwnThreadAndDropsCancelledOnes)
{
    StatsTask task(engine);
    QSignalSpy finished(&task, &StatsTask::finished);
    const quint64 id = task.start({record(words(12), now)}, StatsPeriod::all, now);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.first().at(0).toULongLong(), id);
    EXPECT_EQ(finished.first().at(1).value<PeriodStats>().words, 12);
    EXPECT_FALSE(task.isRunning());

    finished.clear();
    task.start({record(words(3), now)}, StatsPeriod::all, now);
    task.cancel();
    const quint64 next = task.start({record(words(4), now)}, StatsPeriod::all, now);
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().at(0).toULongLong(), next);
}

} // namespace
