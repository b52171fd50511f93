// The clipboard through the desktop portal, against a portal that offers it (FakeClipboardPortal)
// on a private session bus of its own.

#include "platform/wayland/PortalClipboard.h"
#include "FakeClipboardPortal.h"
#include "core/ClipboardInserter.h"
#include "fakes/FakePasteboard.h"
#include "platform/linux/QtScheduler.h"
#include "platform/wayland/RemoteDesktopSession.h"
#include "support/AwaitTask.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::awaitTask;
using murmo::test::waitUntil;

namespace {

PasteboardItem imageWithCaption()
{
    return {{{u"image/png"_s, "\x89PNG\r\n\x1a\n pixels"_ba},
             {PasteboardItem::plainTextType(), "a caption"_ba}}};
}

class PortalClipboardTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        daemon = new QProcess;
        daemon->start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        ASSERT_TRUE(waitUntil([] { return daemon->canReadLine(); }, 20s));
        address = QString::fromUtf8(daemon->readLine().trimmed());
    }
    static void TearDownTestSuite()
    {
        daemon->terminate();
        daemon->waitForFinished();
        delete std::exchange(daemon, nullptr);
    }

    void start(bool clipboardEnabled)
    {
        portal.clipboardEnabled = clipboardEnabled;
        session.start();
        ASSERT_TRUE(waitUntil([&] { return session.isStarted(); }, 20s));
    }

    static inline QProcess* daemon = nullptr;
    static inline QString address;
    QDBusConnection desktopBus = QDBusConnection::connectToBus(address, u"desktop"_s);
    QDBusConnection murmoBus = QDBusConnection::connectToBus(address, u"murmo"_s);
    FakeClipboardPortal portal{desktopBus};
    QtScheduler scheduler;
    FakePasteboard standIn{scheduler};
    RemoteDesktopSession session{murmoBus, 2, true, {}};
    PortalClipboard clipboard{session, scheduler, standIn};
};

} // namespace

// Another application's item is read whole, Murmo's own is handed to whoever pastes it under
// every name text goes by, and the earlier item goes back.
TEST_F(PortalClipboardTest, ReadsWritesAndRestoresEveryFormat)
{
    start(true);
    EXPECT_TRUE(portal.clipboardRequested);
    portal.copyElsewhere(imageWithCaption());
    ASSERT_TRUE(waitUntil([&] { return awaitTask(clipboard.plainText()) == u"a caption"_s; }, 10s));
    const PasteboardItem before = awaitTask(clipboard.snapshot()).value_or(PasteboardItem{});
    EXPECT_EQ(before, imageWithCaption());

    clipboard.setItem(ClipboardInserter::dictationItem(u"текст"_s));
    ASSERT_TRUE(waitUntil([&] { return !portal.offered.isEmpty(); }, 10s));
    for (const QString& type :
         {u"text/plain"_s, u"text/plain;charset=utf-8"_s, ClipboardInserter::transientType()})
        EXPECT_TRUE(portal.offered.contains(type)) << type.toStdString();
    portal.pasteFromSession(u"text/plain;charset=utf-8"_s);
    ASSERT_TRUE(waitUntil([&] { return portal.writesDone.size() == 1; }, 10s));
    EXPECT_EQ(portal.pasted.value(u"text/plain;charset=utf-8"_s), "текст"_ba);
    EXPECT_EQ(awaitTask(clipboard.plainText()), u"текст"_s);

    clipboard.setItem(before);
    portal.pasteFromSession(u"image/png"_s);
    portal.pasteFromSession(u"application/x-unknown"_s);
    ASSERT_TRUE(waitUntil([&] { return portal.writesDone.size() == 3; }, 10s));
    EXPECT_EQ(portal.pasted.value(u"image/png"_s), before.bytes(u"image/png"_s));
    EXPECT_EQ(portal.writesDone.count(false), 1); // the unknown format, refused
}

// An owner that never hands a format over costs that format and the ones after it, not a frozen
// dictation; what it handed over before is kept.
TEST_F(PortalClipboardTest, SlowOwnerCostsItsFormatOnly)
{
    start(true);
    const PasteboardItem item{{{u"text/html"_s, "<b>bold</b>"_ba},
                               {u"image/png"_s, "pixels"_ba},
                               {PasteboardItem::plainTextType(), "bold"_ba}}};
    portal.copyElsewhere(item, u"image/png"_s);
    ASSERT_TRUE(waitUntil([&] { return awaitTask(clipboard.plainText()) == u"bold"_s; }, 10s));
    const auto snapshot = awaitTask(clipboard.snapshot());
    EXPECT_EQ(snapshot, (PasteboardItem{{{u"text/html"_s, "<b>bold</b>"_ba}}}));
}

// A session without the clipboard (the user did not allow it) leaves the work to the stand-in,
// so a dictated text still lands on a clipboard.
TEST_F(PortalClipboardTest, WithoutTheClipboardTheStandInServes)
{
    start(false);
    clipboard.setItem(PasteboardItem::fromPlainText(u"dictated"_s));
    EXPECT_EQ(standIn.current.plainText(), u"dictated"_s);
    EXPECT_EQ(awaitTask(clipboard.plainText()), u"dictated"_s);
    EXPECT_TRUE(portal.offered.isEmpty());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
