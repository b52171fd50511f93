#include "ui/LivePill.h"

#include "support/WaitUntil.h"
#include "support/XTestPointer.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using murmo::test::waitUntil;

namespace {

// Splits the 1280 × 800 virtual screen into two monitors side by side, as RandR reports a
// laptop with a second screen to its right. Runs in a desktop of its own.
bool splitIntoTwoMonitors()
{
    for (const QStringList& monitor :
         {QStringList{u"--setmonitor"_qs, u"left"_qs, u"640/169x800/211+0+0"_qs, u"screen"_qs},
          QStringList{u"--setmonitor"_qs, u"right"_qs, u"640/169x800/211+640+0"_qs, u"none"_qs}}) {
        if (QProcess::execute(u"xrandr"_qs, monitor) != 0)
            return false;
    }
    return waitUntil([] { return QGuiApplication::screens().size() == 2; }, 10s);
}

TEST(PillTwoScreensTest, FollowsTheMouseToTheOtherScreenWithinAboutASecond)
{
    ASSERT_TRUE(splitIntoTwoMonitors());
    murmo::test::XTestPointer pointer;
    ASSERT_TRUE(pointer.isConnected());
    LivePill pill;

    pointer.moveTo({320, 400});
    pill.show();
    EXPECT_EQ(pill.window().position(), QPoint(320 - 170, 800 + 6 - 80));

    pointer.moveTo({960, 400});
    EXPECT_TRUE(waitUntil([&] { return pill.window().position() == QPoint(960 - 170, 726); }, 10s))
        << pill.window().x();
}

} // namespace
