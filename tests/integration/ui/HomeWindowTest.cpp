#include "ui/LiveHome.h"

#include "history/HistoryTime.h"
#include "support/WaitUntil.h"
#include "support/XTestPointer.h"
#include "ui/HistoryList.h"
#include "ui/HomeDashboard.h"
#include "ui/NavRail.h"
#include "ui/StatsScreen.h"

#include <QElapsedTimer>
#include <QQuickItem>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

using namespace std::chrono_literals;
using murmo::test::waitUntil;

namespace {

// The item of that name in the window's visual tree (items a Repeater made included).
QQuickItem* find(QQuickItem* root, const QString& name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem* child : root->childItems()) {
        if (QQuickItem* found = find(child, name))
            return found;
    }
    return nullptr;
}

QQuickItem* find(HomeWindow& home, const QString& name)
{
    return find(home.window().contentItem(), name);
}

// Clicks the middle of a named item with the real mouse.
void click(HomeWindow& home, const QString& name)
{
    QQuickItem* item = find(home, name);
    ASSERT_NE(item, nullptr) << name.toStdString();
    static murmo::test::XTestPointer pointer;
    pointer.moveTo(item->mapToGlobal(QPointF(item->width() / 2, item->height() / 2)).toPoint());
    pointer.click();
}

bool opened(HomeWindow& home)
{
    return waitUntil([&] { return home.window().isExposed(); }, 10s);
}

// Runs `act` and waits until `shown` holds and the window has drawn it; the time taken, in ms.
qint64 timeToScreen(HomeWindow& home, const std::function<void()>& act,
                    const std::function<bool()>& shown)
{
    QElapsedTimer timer;
    bool drawn = false;
    const auto connection = QObject::connect(&home.window(), &QQuickWindow::frameSwapped,
                                             [&] { drawn = drawn || shown(); });
    timer.start();
    act();
    const bool reached = waitUntil([&] { return drawn; }, 60s);
    QObject::disconnect(connection);
    return reached ? timer.elapsed() : -1;
}

// The longest the event loop stood still while `busy` held, in ms.
class StallMeter
{
public:
    StallMeter()
    {
        m_tick.setInterval(5);
        QObject::connect(&m_tick, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_sinceLast.restart()); });
        m_sinceLast.start();
        m_tick.start();
    }
    qint64 longest() const { return m_longest; }

private:
    QTimer m_tick;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

} // namespace

TEST(HomeWindowTest, OpensOnHomeAsTheControllerAsksAndSwitchesSectionsFromTheRail)
{
    LiveHome live(LiveHome::dictations(40, QDateTime::currentDateTime()));
    HomeWindow& home = live.open();
    ASSERT_TRUE(opened(home));
    EXPECT_EQ(home.window().title(), u"Murmo"_s);
    EXPECT_EQ(home.window().size(), QSize(1200, 780));
    EXPECT_EQ(home.window().minimumSize(), QSize(1120, 720));
    EXPECT_EQ(find(home, u"greeting"_s)->property("text"), u"Hey Ada, jump back into flow"_s);

    QQuickItem* column = find(home, u"mainColumn"_s);
    const std::pair<QString, NavSection> sections[] = {
        {u"section-History"_s, NavSection::history},
        {u"section-Insights"_s, NavSection::stats},
        {u"section-Settings"_s, NavSection::settings},
        {u"section-Home"_s, NavSection::home}};
    for (const auto& [name, section] : sections) {
        click(home, name);
        EXPECT_TRUE(waitUntil([&] { return home.rail().current() == section; }, 10s))
            << name.toStdString();
        EXPECT_EQ(column->property("currentIndex").toInt(), int(section));
    }
    // The statistics were computed when their section showed.
    EXPECT_TRUE(waitUntil([&] { return home.statsScreen().cardsVisible(); }, 30s));
}

TEST(HomeWindowTest, SettingsAndTheDockWriteThroughAtOnce)
{
    LiveHome live({});
    HomeWindow& home = live.open();
    ASSERT_TRUE(opened(home));
    click(home, u"section-Settings"_s);
    ASSERT_TRUE(waitUntil([&] { return find(home, u"nudgesSwitch"_s)->isVisible(); }, 10s));
    click(home, u"nudgesSwitch"_s);
    click(home, u"syncSwitch"_s);
    EXPECT_TRUE(waitUntil([&] { return !live.dictation.preferences.icloudSync(); }, 10s));
    EXPECT_FALSE(live.dictation.preferences.nudges());

    click(home, u"recordButton"_s);
    EXPECT_TRUE(waitUntil(
        [&] { return live.dictation.controller->phase().kind() == Phase::Kind::recording; }, 10s));
}

TEST(HomeWindowTest, ADictationFinishedWhileOpenShowsAtOnce)
{
    LiveHome live({});
    HomeWindow& home = live.open();
    ASSERT_TRUE(opened(home));
    EXPECT_TRUE(home.historyList().empty());

    live.history.dictate(HistoryHarness::record(
        u"Just dictated this."_s, HistoryTime::fromTimePoint(std::chrono::system_clock::now())));
    EXPECT_EQ(home.dashboard().wordsToday(), u"3"_s);
    EXPECT_EQ(home.dashboard().feed().size(), 1);
    EXPECT_EQ(home.historyList().rowCount(), 1);
}

TEST(HomeWindowTest, ShowsTwoThousandRecordsWithoutStalling)
{
    LiveHome live(LiveHome::dictations(2000, QDateTime::currentDateTime()));
    HomeWindow& home = live.open();
    ASSERT_TRUE(opened(home));

    QQuickItem* rows = find(home, u"historyRows"_s);
    const qint64 historyMs = timeToScreen(
        home, [&] { click(home, u"section-History"_s); },
        [&] { return rows->isVisible() && rows->property("count").toInt() == 2000; });
    EXPECT_GE(historyMs, 0);

    // The first computation over the whole history tags every text on a worker thread; the
    // screen shows its progress meanwhile and the window keeps answering.
    bool progressShown = false;
    const auto watch = QObject::connect(&home.statsScreen(), &StatsScreen::stateChanged, [&] {
        progressShown = progressShown || home.statsScreen().loadingVisible();
    });
    StallMeter stalls;
    const qint64 firstStatsMs = timeToScreen(
        home, [&] { click(home, u"section-Insights"_s); },
        [&] { return home.statsScreen().cardsVisible(); });
    QObject::disconnect(watch);
    EXPECT_GE(firstStatsMs, 0);
    EXPECT_TRUE(progressShown);
    const qint64 longestStall = stalls.longest();

    // A window opened later finds the texts tagged.
    live.window.reset();
    HomeWindow& again = live.open();
    ASSERT_TRUE(opened(again));
    const qint64 laterStatsMs = timeToScreen(
        again, [&] { click(again, u"section-Insights"_s); },
        [&] { return again.statsScreen().cardsVisible(); });
    EXPECT_GE(laterStatsMs, 0);

    std::printf("2000 records: history list on screen after %lld ms; statistics after %lld ms "
                "(first, tagging every text; longest event-loop pause %lld ms), %lld ms (later "
                "window, cache warm)\n",
                static_cast<long long>(historyMs), static_cast<long long>(firstStatsMs),
                static_cast<long long>(longestStall), static_cast<long long>(laterStatsMs));
}
