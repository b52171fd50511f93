#include "app/BackendSupervisor.h"

#include "fakes/FakeScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// Stand-ins for murmo-backend: shell scripts that note each start with its arguments in a file,
// then stay up or fail at once.
class BackendSupervisorTest : public testing::Test
{
protected:
    QString program(const QByteArray& body)
    {
        const QString path = dir.filePath(u"backend"_s);
        QFile script(path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$@\" >> " + starts.toUtf8() + "\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QStringList started() const
    {
        QFile file(starts);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Turns the event loop (process and socket events are real) until `done` or the deadline.
    static bool settle(const std::function<bool()>& done,
                       std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        QDeadlineTimer deadline(limit);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    // A loopback port where nothing listens.
    static QUrl silentOrigin()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        return QUrl(u"http://127.0.0.1:%1"_s.arg(server.serverPort()));
    }

    QTemporaryDir dir;
    QString starts = dir.filePath(u"starts"_s);
    FakeScheduler time;
};

TEST_F(BackendSupervisorTest, StartsTheBackendWhereNothingAnswersAndStopsItWithMurmo)
{
    const QUrl origin = silentOrigin();
    qint64 pid = 0;
    {
        BackendSupervisor supervisor(time, time, program("exec sleep 60"), origin);
        supervisor.start();
        ASSERT_TRUE(settle([&] { return supervisor.processId() && !started().isEmpty(); }));
        pid = *supervisor.processId();
        EXPECT_EQ(started(), QStringList{u"--address 127.0.0.1 --port %1"_s.arg(origin.port())});
    }
    EXPECT_NE(::kill(pid_t(pid), 0), 0) << "stopped when Murmo quits";
}

TEST_F(BackendSupervisorTest, LeavesABackendThatSomeoneElseRunsAlone)
{
    QTcpServer someoneElse;
    ASSERT_TRUE(someoneElse.listen(QHostAddress::LocalHost));
    BackendSupervisor supervisor(time, time, program("exec sleep 60"),
                                 QUrl(u"http://127.0.0.1:%1"_s.arg(someoneElse.serverPort())));
    supervisor.start();
    ASSERT_TRUE(settle([&] { return someoneElse.hasPendingConnections(); }));
    settle([] { return false; }, 300ms); // nothing more happens
    EXPECT_TRUE(started().isEmpty());
}

TEST_F(BackendSupervisorTest, ABackendThatKeepsFailingIsRestartedLessAndLessOften)
{
    BackendSupervisor supervisor(time, time, program("exit 1"), silentOrigin());
    supervisor.start();
    ASSERT_TRUE(settle([&] { return started().size() == 1; }));

    for (const auto delay : {1s, 2s, 4s}) {
        const qsizetype before = started().size();
        // Each failure is seen before its restart is due.
        settle([&] { return time.pendingCount() == 1; });
        time.advance(delay - 1ms);
        settle([] { return false; }, 300ms);
        EXPECT_EQ(started().size(), before) << "not before " << delay.count() << " s";
        time.advance(1ms);
        EXPECT_TRUE(settle([&] { return started().size() == before + 1; }));
    }
}

} // namespace
