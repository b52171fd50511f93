#include "ui/PillPlacement.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 ownPid = 4242;

// A 1440 × 900 screen with a 70-point dock along its bottom.
const ScreenArea laptop{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 830)};
// A second screen to its right, without a dock.
const ScreenArea monitor{QRect(1440, -100, 1920, 1080), QRect(1440, -100, 1920, 1080)};

std::optional<QPoint> placeFor(QPoint mouse, std::optional<QList<ListedWindow>> windows = {{}})
{
    return PillPlacement::target({laptop, monitor}, mouse, windows, ownPid);
}

TEST(PillPlacementTest, SitsCentredJustAboveTheDockOfTheScreenUnderTheMouse)
{
    // Capsule 6 points above the dock: the panel's top is 900 − 64 − 80.
    EXPECT_EQ(placeFor({100, 100}), QPoint(550, 756));
    EXPECT_EQ(placeFor({2000, 500}), QPoint(1440 + 960 - 170, 980 + 6 - 80));
    EXPECT_EQ(placeFor({-500, -500}), QPoint(550, 756)) << "outside every screen: the primary";
    EXPECT_EQ(PillPlacement::target({}, {0, 0}, {{}}, ownPid), std::nullopt) << "no screen";
    // An odd width centres to the nearest point.
    EXPECT_EQ(
        PillPlacement::target({{QRect(0, 0, 1441, 900), QRect(0, 0, 1441, 900)}}, {}, {{}}, ownPid)
            ->x(),
        551);
}

TEST(PillPlacementTest, AFullScreenWindowOfAnotherProcessLowersThePillToTheScreenEdge)
{
    const QPoint onLaptop(100, 100);
    const QPoint overDock(550, 900 + 6 - 80);
    const QPoint aboveDock(550, 756);
    const auto withWindow = [&](QRect frame, std::optional<qint64> pid) {
        return placeFor(onLaptop, QList<ListedWindow>{{frame, pid}});
    };

    EXPECT_EQ(withWindow(QRect(0, 0, 1440, 900), 7), overDock);
    EXPECT_EQ(withWindow(QRect(0, 0, 1440, 900), std::nullopt), overDock) << "owner unknown";
    EXPECT_EQ(withWindow(QRect(1, 0, 1438, 898), 7), overDock) << "within two points";
    EXPECT_EQ(withWindow(QRect(0, 0, 1440, 900), ownPid), aboveDock) << "our own window";
    EXPECT_EQ(withWindow(QRect(0, 0, 1440, 830), 7), aboveDock) << "maximised above the dock";
    EXPECT_EQ(withWindow(QRect(0, 0, 1300, 900), 7), aboveDock) << "not full width";
    EXPECT_EQ(withWindow(QRect(0, 700, 1440, 200), 7), aboveDock) << "a bar, not a window";
    EXPECT_EQ(withWindow(QRect(1440, -100, 1920, 1080), 7), aboveDock) << "on the other screen";
    EXPECT_EQ(placeFor(onLaptop, std::nullopt), aboveDock) << "window list unreadable";
}

TEST(PillPlacementTest, MovesOfAPointOrLessAreNotWorthARedraw)
{
    const QPoint target(550, 756);
    for (const QPoint near : {QPoint(550, 756), QPoint(551, 755), QPoint(549, 757)})
        EXPECT_TRUE(PillPlacement::isCloseEnough(near, target)) << near.x() << "," << near.y();
    for (const QPoint far : {QPoint(552, 756), QPoint(550, 754), QPoint(0, 0)})
        EXPECT_FALSE(PillPlacement::isCloseEnough(far, target)) << far.x() << "," << far.y();
}

} // namespace
