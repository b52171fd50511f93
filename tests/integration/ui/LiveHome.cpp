#include "ui/LiveHome.h"

#include "history/HistoryTime.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

constexpr std::array sentences{
    u"Can we move the weekly sync to Thursday afternoon?",
    u"Thanks for the quick turnaround on the draft, it reads really well.",
    u"I'll be about ten minutes late, start without me.",
    u"Please add the new numbers to the quarterly report before Friday.",
    u"Let's grab lunch next week and talk about the roadmap.",
    u"The build is green again, the flaky test was a timing issue.",
    u"Remind me to call the dentist tomorrow morning.",
    u"Um, I think we should, like, ship the smaller version first.",
    u"Could you send me the slides from yesterday's meeting?",
    u"We need more eggs, milk and a loaf of bread.",
    u"Basically the client wants the launch moved up by two weeks.",
    u"I really enjoyed the book you recommended, the ending surprised me.",
    u"The invoice is attached, let me know if anything is missing.",
    u"So the plan is to test the new onboarding with five users.",
    u"Happy birthday! Hope you have a wonderful day.",
    u"I pushed a fix for the login bug, can you review it?",
    u"Meeting notes: budget approved, hiring freeze lifted, offsite in May.",
    u"You know, the second option is cheaper in the long run.",
    u"Buy a present for Anna and book the restaurant for Saturday.",
    u"Draft a short reply saying we accept the terms.",
    u"Давай созвонимся вечером и всё обсудим.",
    u"Я уже еду, буду через двадцать минут.",
    u"Спасибо за помощь с отчётом, получилось отлично.",
    u"Купи, пожалуйста, хлеб и молоко по дороге домой.",
};
constexpr std::array channels{u"Gmail", u"Telegram", u"Slack", u"Notes", u""};
// Words by hour of the day, roughly a working day with an evening tail.
constexpr std::array<int, 24> hourWeights{1, 0, 0,  0,  0, 1, 2, 4, 8, 12, 12, 10,
                                          7, 9, 11, 10, 8, 6, 5, 5, 4, 3,  2,  1};

int pickHour(QRandomGenerator& random)
{
    int roll = random.bounded(std::accumulate(hourWeights.begin(), hourWeights.end(), 0));
    int hour = 0;
    while (roll >= hourWeights[std::size_t(hour)])
        roll -= hourWeights[std::size_t(hour++)];
    return hour;
}

} // namespace

QList<HistoryItem> LiveHome::dictations(int count, const QDateTime& now, quint32 seed)
{
    QRandomGenerator random(seed);
    QList<HistoryItem> items;
    for (int i = 0; i < count; ++i) {
        // Denser towards the present: half of them in the last month.
        const double age = std::pow(random.generateDouble(), 2.2) * 365;
        QDateTime created = now.addDays(-qint64(age));
        created.setTime(QTime(pickHour(random), random.bounded(60), random.bounded(60)));
        if (created > now)
            created = now.addSecs(-60 * (i + 1));
        QString text;
        for (int n = 1 + random.bounded(3); n > 0; --n) {
            text +=
                (text.isEmpty() ? u""_s : u" "_s) +
                QString::fromUtf16(sentences[std::size_t(random.bounded(int(sentences.size())))]);
        }
        const QString channel =
            QString::fromUtf16(channels[std::size_t(random.bounded(int(channels.size())))]);
        const qint64 words = text.count(u' ') + 1;
        items.append({QUuid::createUuid(), text, text.toLower(),
                      HistoryTime::fromTimePoint(
                          Clock::TimePoint(std::chrono::milliseconds(created.toMSecsSinceEpoch()))),
                      std::nullopt, std::nullopt, std::nullopt,
                      channel.isEmpty() ? std::nullopt : std::optional(channel),
                      words * 60.0 / (120 + random.bounded(60)),
                      random.bounded(4) == 0 ? u"iphone"_s : u"mac"_s});
    }
    std::ranges::sort(items, std::greater<>(), &HistoryItem::createdAt);
    return items;
}
