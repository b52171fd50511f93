#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A session bus of the test's own: a private dbus-daemon, and two connections to it standing for
// two launches of Murmo.
class SingleInstanceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        ASSERT_TRUE(m_daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        first =
            std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, u"first"_s));
        second =
            std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, u"second"_s));
        ASSERT_TRUE(first->isConnected() && second->isConnected());
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(u"first"_s);
        QDBusConnection::disconnectFromBus(u"second"_s);
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    QProcess m_daemon;
    std::unique_ptr<QDBusConnection> first;
    std::unique_ptr<QDBusConnection> second;
};

TEST_F(SingleInstanceTest, ALaterLaunchHandsItsRequestToTheRunningOne)
{
    EXPECT_FALSE(SingleInstance::handOver(*second, SingleInstance::Request::showMainWindow))
        << "nobody runs yet";

    auto running = std::make_unique<SingleInstance>(*first);
    ASSERT_TRUE(running->claim());
    QSignalSpy mainWindow(running.get(), &SingleInstance::showMainWindowRequested);
    QSignalSpy history(running.get(), &SingleInstance::showHistoryRequested);
    QSignalSpy holdBegin(running.get(), &SingleInstance::holdBeginRequested);
    QSignalSpy holdEnd(running.get(), &SingleInstance::holdEndRequested);
    QSignalSpy toggle(running.get(), &SingleInstance::toggleRequested);

    SingleInstance later(*second);
    EXPECT_FALSE(later.claim());
    EXPECT_TRUE(SingleInstance::handOver(*second, SingleInstance::Request::showMainWindow));
    EXPECT_TRUE(SingleInstance::handOver(*second, SingleInstance::Request::showHistory));
    EXPECT_EQ(mainWindow.size(), 1);
    EXPECT_EQ(history.size(), 1);
    // Key bindings of the desktop reach it the same way.
    for (const auto request : {SingleInstance::Request::holdBegin, SingleInstance::Request::holdEnd,
                               SingleInstance::Request::toggle})
        EXPECT_TRUE(SingleInstance::handOver(*second, request));
    EXPECT_EQ(holdBegin.size(), 1);
    EXPECT_EQ(holdEnd.size(), 1);
    EXPECT_EQ(toggle.size(), 1);

    // Once the running one quits, the next launch runs.
    running.reset();
    EXPECT_TRUE(later.claim());
}

} // namespace
