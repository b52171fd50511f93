// The portal side of the Wayland layer against the real xdg-desktop-portal service, whose desktop
// side is FakePortalBackend, on the session bus of scripts/with-desktop.

#include "FakePortalBackend.h"
#include "fakes/FakeScheduler.h"
#include "platform/KeyEventMonitors.h"
#include "platform/wayland/PortalHoldShortcut.h"
#include "platform/wayland/PortalKeyboard.h"
#include "platform/wayland/RemoteDesktopSession.h"
#include "platform/wayland/SessionProber.h"
#include "platform/wayland/WaylandHoldSource.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

constexpr int pasteKey = 9;

class PortalTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isConnected()) << "run inside scripts/with-desktop";
        ASSERT_TRUE(portals.isValid());
        QFile description(portals.filePath(u"murmotest.portal"_s));
        ASSERT_TRUE(description.open(QIODevice::WriteOnly));
        description.write("[portal]\n"
                          "DBusName=org.freedesktop.impl.portal.desktop.murmotest\n"
                          "Interfaces=org.freedesktop.impl.portal.GlobalShortcuts;"
                          "org.freedesktop.impl.portal.RemoteDesktop;\n"
                          "UseIn=murmotest\n");
        description.close();

        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_DESKTOP_PORTAL_DIR"_s, portals.path());
        environment.insert(u"XDG_CURRENT_DESKTOP"_s, u"murmotest"_s);
        service.setProcessEnvironment(environment);
        service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        service.start(u"/usr/libexec/xdg-desktop-portal"_s, {u"--replace"_s});
        ASSERT_TRUE(waitUntil(
            [&] {
                const SessionProbe probe = probeSession();
                return probe.globalShortcutsVersion > 0 && probe.remoteDesktopKeyboard;
            },
            30s));
        hold.setCallbacks({[this] { calls += "began "; }, [this] { calls += "ended "; }, {}});
        hold.start();
    }
    void TearDown() override
    {
        service.terminate();
        service.waitForFinished();
    }

    SessionProbe probeSession()
    {
        SessionProbe probe;
        SessionProber::probePortal(bus, probe);
        return probe;
    }

    std::string take() { return std::exchange(calls, {}); }
    bool waitForCalls(const std::string& expected)
    {
        const bool arrived = waitUntil([&] { return calls == expected; }, 10s);
        calls.clear();
        return arrived;
    }
    void press() { backend.emitShortcut(u"Activated"_s, PortalHoldShortcut::shortcutId); }
    void release() { backend.emitShortcut(u"Deactivated"_s, PortalHoldShortcut::shortcutId); }

    QDBusConnection bus = QDBusConnection::sessionBus();
    QTemporaryDir portals;
    FakePortalBackend backend{bus};
    QProcess service;
    FakeScheduler scheduler;
    WaylandHoldSource hold{scheduler, nullptr};
    std::string calls;
    QStringList reports;
};

} // namespace

// The desktop's shortcut drives the hold: press to release, a repeated press ignored, a lost
// release ended at the limit, and a session the desktop closes mid-hold ends the hold and is
// opened again.
TEST_F(PortalTest, ShortcutHoldsFromActivatedToDeactivated)
{
    PortalHoldShortcut shortcut(bus, scheduler, hold,
                                [this](const QString& report) { reports << report; });
    shortcut.open();
    ASSERT_TRUE(waitUntil([&] { return shortcut.isBound(); }, 10s));
    ASSERT_EQ(backend.bound.size(), 1);
    EXPECT_EQ(backend.bound[0].id, u"hold-to-talk"_s);
    EXPECT_EQ(backend.bound[0].properties.value(u"preferred_trigger"_s), u"Pause"_s);

    press();
    press();
    release();
    EXPECT_TRUE(waitForCalls("began ended "));

    press();
    ASSERT_TRUE(waitForCalls("began "));
    scheduler.advance(WaylandHoldSource::holdLimit);
    EXPECT_EQ(take(), "ended ");

    press();
    ASSERT_TRUE(waitForCalls("began "));
    backend.closeSession();
    EXPECT_TRUE(waitForCalls("ended "));
    EXPECT_FALSE(shortcut.isBound());
    scheduler.advance(PortalHoldShortcut::reopenDelay);
    ASSERT_TRUE(waitUntil([&] { return shortcut.isBound(); }, 10s));
    EXPECT_EQ(backend.sessions.size(), 2);
    press();
    EXPECT_TRUE(waitForCalls("began "));
    EXPECT_TRUE(reports.isEmpty());
}

// A shortcut the desktop refuses is reported once, and nothing it would send counts.
TEST_F(PortalTest, RefusedShortcutIsReported)
{
    backend.bindResponse = 1;
    PortalHoldShortcut shortcut(bus, scheduler, hold,
                                [this](const QString& report) { reports << report; });
    shortcut.open();
    ASSERT_TRUE(waitUntil([&] { return !reports.isEmpty(); }, 10s));
    EXPECT_TRUE(reports.constFirst().startsWith(u"The desktop did not bind"_s));
    press();
    // Nothing to wait for but a while: an answer that should not come.
    EXPECT_FALSE(waitUntil([&] { return !calls.empty(); }, 2s));
}

// Once allowed, the paste is Control+V by kernel key code, released in reverse; a session the
// desktop closes fails that paste and is asked for again for the next one; a refusal stands.
TEST_F(PortalTest, RemoteDesktopPostsTheChordOnceAllowed)
{
    RemoteDesktopSession session(bus, 1, false, {});
    PortalKeyboard keyboard(session);
    EXPECT_FALSE(keyboard.makeKeystroke(pasteKey, ModifierFlags::command));
    ASSERT_TRUE(waitUntil([&] { return session.isStarted(); }, 10s));
    auto keystroke = keyboard.makeKeystroke(pasteKey, ModifierFlags::command);
    ASSERT_TRUE(keystroke);
    keystroke->postKeyDown();
    keystroke->postKeyUp();
    const QList<QPair<int, uint>> chord{
        {KEY_LEFTCTRL, 1}, {KEY_V, 1}, {KEY_V, 0}, {KEY_LEFTCTRL, 0}};
    EXPECT_TRUE(waitUntil([&] { return backend.keycodes == chord; }, 10s));

    backend.closeSession();
    ASSERT_TRUE(waitUntil([&] { return session.isIdle(); }, 10s));
    EXPECT_FALSE(keyboard.makeKeystroke(pasteKey, ModifierFlags::command));
    EXPECT_TRUE(waitUntil([&] { return session.isStarted(); }, 10s));

    backend.startResponse = 1;
    RemoteDesktopSession refused(bus, 1, false, {});
    PortalKeyboard refusedKeyboard(refused);
    refused.start();
    ASSERT_TRUE(waitUntil([&] { return refused.wasRefused(); }, 10s));
    EXPECT_FALSE(refusedKeyboard.makeKeystroke(pasteKey, ModifierFlags::command));
    EXPECT_TRUE(refused.wasRefused());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
