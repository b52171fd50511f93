// Period statistics over a long history of mixed English and Russian dictation, period "all":
// the first run with an empty tag cache, the first run after a restart (a new engine and tagger
// reading the cache file), and the run after one new record. Prints seconds and peak memory.
// Run: build/bench/stats_bench [records]
#include "history/HistoryTime.h"
#include "platform/linux/IcuWordTokenizer.h"
#include "platform/linux/MultilingualTagger.h"
#include "stats/StatsEngine.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <time.h>

namespace {

// Dictation-like sentences; each record joins three of them, so texts are distinct but real.
const QStringList englishSentences{
    QStringLiteral("We need to send the report before the meeting tomorrow."),
    QStringLiteral("I think the new design looks great, but the buttons are too small."),
    QStringLiteral("Please call me when you get home, my phone battery is almost dead."),
    QStringLiteral("The train was late again today, so I missed the first half of the call."),
    QStringLiteral("Remind me to book a table at the restaurant near the station."),
    QStringLiteral("Um, the server crashed twice this week and nobody noticed until Monday."),
    QStringLiteral("Can you check whether the invoice was paid last Tuesday?"),
    QStringLiteral("The kids want pizza for dinner, like, every single night."),
    QStringLiteral("Honestly, I was surprised how quickly the team fixed the login problem."),
    QStringLiteral("Let's move the launch to Friday because the tests are still failing."),
    QStringLiteral("Thanks so much for your help yesterday, it really made a difference."),
    QStringLiteral("Add milk, eggs, bread and two bananas to the shopping list."),
};
const QStringList russianSentences{
    QStringLiteral("Нужно отправить отчёт до завтрашней встречи."),
    QStringLiteral("Мне кажется, новый дизайн выглядит отлично, но кнопки слишком маленькие."),
    QStringLiteral("Позвони мне, когда доберёшься домой, телефон почти сел."),
    QStringLiteral("Поезд сегодня снова опоздал, и я пропустил половину созвона."),
    QStringLiteral("Напомни забронировать столик в ресторане возле вокзала."),
    QStringLiteral("Ну короче, сервер упал дважды на этой неделе, и никто не заметил."),
    QStringLiteral("Проверь, пожалуйста, оплачен ли счёт за прошлый вторник."),
    QStringLiteral("Дети хотят пиццу на ужин, типа, каждый вечер."),
    QStringLiteral("Честно говоря, я удивился, как быстро команда всё починила."),
    QStringLiteral("Давай перенесём запуск на пятницу, потому что тесты ещё падают."),
    QStringLiteral("Спасибо большое за помощь вчера, ты очень выручил."),
    QStringLiteral("Купи молоко, яйца, хлеб и два банана."),
};

QString dictation(QRandomGenerator& random, const QStringList& sentences)
{
    QStringList picked;
    for (int i = 0; i < 3; ++i)
        picked << sentences[random.bounded(qsizetype(sentences.size()))];
    return picked.join(QLatin1Char(' '));
}

QList<HistoryItem> history(int count, QRandomGenerator& random, const QDateTime& now)
{
    QList<HistoryItem> records;
    for (int i = 0; i < count; ++i) {
        HistoryItem item;
        const bool russian = i % 2 == 1;
        item.text = dictation(random, russian ? russianSentences : englishSentences);
        item.raw = item.text;
        const QDateTime at = now.addSecs(-qint64(random.bounded(2 * 365 * 24 * 3600)));
        item.createdAt = HistoryTime::fromTimePoint(
            Clock::TimePoint(std::chrono::milliseconds(at.toMSecsSinceEpoch())));
        item.durationSec = 5 + random.bounded(20);
        item.device = i % 3 == 0 ? QStringLiteral("iphone") : QStringLiteral("mac");
        records.append(item);
    }
    return records;
}

// Wall-clock seconds of `work`, and the processor seconds this thread spent on it (the
// helper processes excluded): on a busy machine the second says more about our own code.
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

Timing seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            threadCpuSeconds() - cpuStart};
}

void report(const char* what, Timing timing, const char* target)
{
    std::printf("%-30s %8.3f s wall, %8.3f s cpu %s\n", what, timing.wall, timing.cpu, target);
}

long peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QTemporaryDir directory;
    const QString cachePath = directory.filePath(QStringLiteral("word-tags"));
    QRandomGenerator random(13);
    const QDateTime now = QDateTime::currentDateTime();
    QList<HistoryItem> records = history(count, random, now);
    IcuWordTokenizer tokenizer;
    PeriodStats stats;

    {
        MultilingualTagger tagger;
        StatsEngine engine(tokenizer, tagger, cachePath);
        const Timing first =
            seconds([&] { stats = *engine.computePeriodStats(records, StatsPeriod::all, now); });
        std::printf("records: %d, words: %lld, unique lemmas: %lld\n", count,
                    qlonglong(stats.words), qlonglong(stats.uniqueWords));
        report("first run, empty cache:", first, "(target 10 s)");
    }
    std::printf("peak memory so far:          %8ld MiB\n", peakMemoryMiB());

    std::unique_ptr<MultilingualTagger> tagger;
    const Timing startup = seconds([&] { tagger = std::make_unique<MultilingualTagger>(); });
    StatsEngine engine(tokenizer, *tagger, cachePath);
    const Timing restart =
        seconds([&] { stats = *engine.computePeriodStats(records, StatsPeriod::all, now); });
    report("tagger start-up:", startup, "");
    report("after a restart, cache file:", restart, "(target 1 s)");

    // The first new text after a restart also starts the English tagger's helper processes;
    // the next one finds them running.
    const auto addRecord = [&] {
        HistoryItem item = history(1, random, now).first();
        item.text = item.raw = QStringLiteral("%1 (%2)").arg(item.text).arg(records.size());
        records.prepend(item);
        return seconds([&] { stats = *engine.computePeriodStats(records, StatsPeriod::all, now); });
    };
    const Timing firstAdded = addRecord();
    const Timing added = addRecord();
    report("one new record, helpers cold:", firstAdded, "");
    report("one new record:", added, "(target 0.05 s)");
    std::printf("peak memory:                 %8ld MiB\n", peakMemoryMiB());
    return 0;
}
