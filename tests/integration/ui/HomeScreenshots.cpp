// Renders every section of the main window into PNG files, for people to look at:
//   scripts/with-desktop build/tests/integration/home_screenshots OUTDIR
// A year of dictations first, then an empty history.
#include "ui/LiveHome.h"

#include "support/WaitUntil.h"
#include "ui/NavRail.h"
#include "ui/StatsScreen.h"

#include <QApplication>
#include <QDir>
#include <QQuickItem>

#include <cstdio>
#include <functional>
#include <tuple>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

constexpr QByteArrayView insights = R"({
  "summary": "You speak in short, friendly sentences and get to the point quickly. Your requests are clear, and you often thank people, which keeps the tone warm.",
  "strengths": ["Clear requests with a concrete deadline", "A warm, appreciative tone"],
  "suggestions": [
    {"title": "Drop the warm-up words", "detail": "\"Um\", \"like\" and \"basically\" open a few messages; starting with the point reads stronger."},
    {"title": "Group related asks", "detail": "Several messages carry two unrelated requests; one message each gets faster answers."}
  ],
  "resources": [{"title": "On Writing Well, William Zinsser", "why": "A short classic on saying more with fewer words."}]
})";
constexpr QByteArrayView recap =
    R"({"summary": "A busy, upbeat week: you planned the roadmap lunch, shipped the login fix and kept the quarterly report on track, with a birthday wish and a grocery list in between."})";

// Lets animations run their course; nothing here checks how long anything took.
void settle(std::chrono::milliseconds period)
{
    waitUntil([] { return false; }, period);
}

bool shoot(HomeWindow& home, const QDir& out, const QString& name,
           std::chrono::milliseconds settling = 900ms)
{
    settle(settling);
    const QString file = out.filePath(name + u".png"_s);
    if (!home.window().grabWindow().save(file))
        return false;
    std::printf("%s\n", qPrintable(file));
    return true;
}

// Scrolls the statistics screen to its end, where the coach and the recap are.
void scrollStatsToEnd(HomeWindow& home)
{
    auto* flickable = home.window().findChild<QQuickItem*>(u"statsCards"_s);
    if (auto* content =
            flickable ? flickable->property("contentItem").value<QQuickItem*>() : nullptr)
        content->setProperty("contentY", content->property("contentHeight").toReal() -
                                             content->property("height").toReal());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s);
    if (!out.mkpath(u"."_s))
        return 1;

    {
        LiveHome live(LiveHome::dictations(2000, QDateTime::currentDateTime()));
        live.server.script("/api/insights", 200, insights.toByteArray());
        live.server.script("/api/summary", 200, recap.toByteArray());
        HomeWindow& home = live.open();
        waitUntil([&] { return home.window().isExposed(); });
        StatsScreen& stats = home.statsScreen();
        const std::tuple<QString, std::function<void()>, std::chrono::milliseconds> shots[] = {
            {u"1-home"_s, [] {}, 900ms},
            {u"2-history"_s, [&] { home.rail().setCurrent(NavSection::history); }, 900ms},
            // The first computation reads (tags) every text once; caught as it goes.
            {u"3-insights-reading"_s,
             [&] {
                 home.rail().setCurrent(NavSection::stats);
                 waitUntil([&] { return !stats.loadingDetail().isEmpty(); }, 120s);
             },
             50ms},
            {u"4-insights"_s, [&] { waitUntil([&] { return stats.cardsVisible(); }, 120s); },
             900ms},
            {u"5-insights-coach-and-recap"_s,
             [&] {
                 stats.requestInsights();
                 stats.requestRecap();
                 waitUntil([&] { return !stats.loadingInsights() && !stats.loadingRecap(); });
                 settle(300ms); // the cards grow to hold the answers first
                 scrollStatsToEnd(home);
             },
             900ms},
            {u"6-settings"_s, [&] { home.rail().setCurrent(NavSection::settings); }, 900ms},
        };
        for (const auto& [name, reach, settling] : shots) {
            reach();
            if (!shoot(home, out, name, settling))
                return 1;
        }
    }

    LiveHome empty({});
    HomeWindow& home = empty.open();
    waitUntil([&] { return home.window().isExposed(); });
    if (!shoot(home, out, u"7-home-empty"_s))
        return 1;
    home.rail().setCurrent(NavSection::history);
    if (!shoot(home, out, u"8-history-empty"_s))
        return 1;
    home.rail().setCurrent(NavSection::stats);
    waitUntil([&] { return home.statsScreen().emptyVisible(); });
    return shoot(home, out, u"9-insights-empty"_s) ? 0 : 1;
}
