// The Wayland layer against real compositors: a headless sway (with data-control and virtual
// keyboards) and a headless weston (with neither, nor a seat). Runs inside scripts/with-sway, as
// an unprivileged user, with wl-copy/wl-paste as the other applications' clipboard tools and a
// Qt line edit on Wayland as the window that is pasted into.

#include "app/SingleInstance.h"
#include "core/ClipboardInserter.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeSyntheticKeyboard.h"
#include "platform/linux/QtScheduler.h"
#include "platform/wayland/DataControlPasteboard.h"
#include "platform/wayland/VirtualKeyboard.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandHoldSource.h"
#include "platform/wayland/WaylandServices.h"
#include "support/AwaitTask.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>

#include <QCoroTask>

#include <gtest/gtest.h>

#include <list>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::awaitTask;
using murmo::test::waitUntil;

namespace {

// Another program the test runs, with what it printed so far.
class Program
{
public:
    Program(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine())
                lines.append(QString::fromUtf8(m_process.readLine()).chopped(1));
        });
        m_process.start(program, arguments);
    }
    ~Program()
    {
        // Asked first: a compositor killed outright leaves its helper clients complaining.
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    bool waitForLine(const QString& line)
    {
        return waitUntil([&] { return lines.contains(line); }, 20s);
    }

    QStringList lines;

private:
    QProcess m_process;
};

// What a command prints, read by the event loop so that our own clipboard can serve it.
QByteArray output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    waitUntil([&] { return process.state() == QProcess::NotRunning; }, 20s);
    return process.readAllStandardOutput();
}

// The portals are tested elsewhere; here the bus stays out, so none is started.
QDBusConnection noBus()
{
    return QDBusConnection(u"none"_s);
}

// An item with an image and a text, as a browser's "copy image" leaves it.
PasteboardItem imageWithCaption()
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    for (int i = 0; i < 200000; ++i)
        png.append(char(i * 7));
    return {{{u"image/png"_s, png}, {PasteboardItem::plainTextType(), "a caption"_ba}}};
}

// Both formats with their bytes (the owner offers its text under other names as well).
bool holdsImageWithCaption(const PasteboardItem& item)
{
    const PasteboardItem expected = imageWithCaption();
    return item.formats.constFirst() == expected.formats.constFirst() &&
           item.plainText() == expected.plainText();
}

class SwaySessionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("SWAYSOCK")) << "run inside scripts/with-sway";
        QString problem;
        connection = WaylandConnection::connect(&problem);
        ASSERT_TRUE(connection) << problem.toStdString();
        // A second client stands for the other applications that own the clipboard.
        elsewhere = WaylandConnection::connect();
        ASSERT_TRUE(elsewhere);
        pasteboard = std::make_unique<DataControlPasteboard>(*connection, scheduler);
        otherApplication = std::make_unique<DataControlPasteboard>(*elsewhere, scheduler);
    }

    QtScheduler scheduler;
    std::unique_ptr<WaylandConnection> connection;
    std::unique_ptr<WaylandConnection> elsewhere;
    std::unique_ptr<DataControlPasteboard> pasteboard;
    std::unique_ptr<DataControlPasteboard> otherApplication;
};

} // namespace

// sway offers what dictation needs, and the clipboard goes both ways without any window of ours:
// another client's text and its image-and-text item are read with every format, our own item is
// readable by wl-paste under every name text goes by, and the earlier item comes back whole.
TEST_F(SwaySessionTest, ReadsWritesAndRestoresTheClipboardWithoutFocus)
{
    const auto chosen = WaylandServices::probe(noBus(), false);
    EXPECT_EQ(chosen.clipboard(), SessionCapabilities::Clipboard::dataControl);
    EXPECT_EQ(chosen.paste(), SessionCapabilities::Paste::virtualKeyboard);

    Program copy(u"wl-copy"_s, {u"--foreground"_s, u"from wl-copy"_s});
    ASSERT_TRUE(waitUntil([&] { return awaitTask(pasteboard->plainText()) == u"from wl-copy"_s; }));

    otherApplication->setItem(imageWithCaption());
    ASSERT_TRUE(waitUntil([&] { return awaitTask(pasteboard->plainText()) == u"a caption"_s; }));
    const PasteboardItem before = awaitTask(pasteboard->snapshot()).value_or(PasteboardItem{});
    EXPECT_TRUE(holdsImageWithCaption(before));

    pasteboard->setItem(ClipboardInserter::dictationItem(u"текст"_s));
    EXPECT_EQ(output(u"wl-paste"_s, {u"--no-newline"_s}), "текст"_ba);
    const QByteArray types = output(u"wl-paste"_s, {u"--list-types"_s});
    for (const char* type : {"text/plain", "text/plain;charset=utf-8", "UTF8_STRING",
                             "org.nspasteboard.TransientType"})
        EXPECT_TRUE(types.split('\n').contains(type)) << type << " in " << types.constData();

    pasteboard->setItem(before);
    EXPECT_EQ(output(u"wl-paste"_s, {u"--type"_s, u"image/png"_s}), before.bytes(u"image/png"_s));
    EXPECT_EQ(awaitTask(pasteboard->plainText()), u"a caption"_s);
    pasteboard->setItem({});
    EXPECT_EQ(awaitTask(pasteboard->snapshot()), PasteboardItem{});
}

// The whole insertion into a native Wayland window: the text arrives through the virtual
// keyboard's Ctrl+V, and 1.6 s later the other application's image and caption are back.
TEST_F(SwaySessionTest, PastesIntoAWaylandWindowAndPutsTheClipboardBack)
{
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    Program target(QStringLiteral(PASTE_TARGET), {u"line-edit"_s}, environment);
    ASSERT_TRUE(target.waitForLine(u"ready"_s));

    otherApplication->setItem(imageWithCaption());
    ASSERT_TRUE(waitUntil([&] { return awaitTask(pasteboard->plainText()) == u"a caption"_s; }));

    VirtualKeyboard keyboard(*connection);
    FakeDesktop desktop;
    ClipboardInserter inserter(scheduler, desktop, *pasteboard, keyboard);
    const auto outcome = awaitTask(inserter.insertText(u"текст and text"_s, {}));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->kind, InsertOutcome::Kind::inserted);
    EXPECT_TRUE(target.waitForLine(u"text:текст and text"_s))
        << target.lines.join(u'|').toStdString();

    const QDeadlineTimer due(ClipboardInserter::restoreDelay + 1s);
    waitUntil([&] { return due.hasExpired(); });
    EXPECT_TRUE(
        holdsImageWithCaption(awaitTask(pasteboard->snapshot()).value_or(PasteboardItem{})));
}

// A key bound in sway to `murmo --hold-begin` on press and `murmo --hold-end` on release holds
// the running Murmo, through the session bus; the key repeating while held changes nothing.
TEST_F(SwaySessionTest, ABindingHoldsTheRunningMurmo)
{
    SingleInstance running(QDBusConnection::sessionBus());
    ASSERT_TRUE(running.claim());
    WaylandHoldSource hold(scheduler, nullptr);
    QStringList calls;
    hold.setCallbacks({[&] { calls << u"began"_s; }, [&] { calls << u"ended"_s; }, {}});
    hold.start();
    int beginRequests = 0;
    QObject::connect(&running, &SingleInstance::holdBeginRequested, [&] {
        ++beginRequests;
        hold.holdBegan();
    });
    QObject::connect(&running, &SingleInstance::holdEndRequested, [&] { hold.holdEnded(); });

    const QString murmo = QStringLiteral(MURMO_PROGRAM);
    for (const QString& binding : {u"bindsym --no-repeat F9 exec %1 --hold-begin"_s,
                                   u"bindsym --release F9 exec %1 --hold-end"_s})
        ASSERT_TRUE(output(u"swaymsg"_s, {binding.arg(murmo)}).contains("\"success\": true"));

    VirtualKeyboard keyboard(*connection);
    constexpr int f9 = 101;
    auto press = keyboard.makeKeystroke(f9, 0);
    ASSERT_TRUE(press);
    press->postKeyDown();
    EXPECT_TRUE(waitUntil([&] { return calls == QStringList{u"began"_s}; }, 20s));
    press->postKeyDown(); // as the key repeats
    // Each press runs its own process: let the repeat's arrive before the release's, so the
    // order under test is the key's and not the process scheduler's.
    EXPECT_TRUE(waitUntil([&] { return beginRequests == 2; }, 20s));
    press->postKeyUp();
    const QStringList heldAndLetGo{u"began"_s, u"ended"_s};
    EXPECT_TRUE(waitUntil([&] { return calls == heldAndLetGo; }, 20s))
        << calls.join(u' ').toStdString();
}

// weston offers no seat, no data-control and no virtual keyboard: nothing fits. The X clipboard
// stays, no paste keystroke is even tried (so the text is left for the user to paste), and the
// user is told so once, with the ways out.
TEST(WestonSessionTest, NothingFitsAndTheUserIsToldWhatToDo)
{
    const QString socket = u"murmo-weston"_s;
    Program weston(u"weston"_s, {u"--backend=headless-backend.so"_s, u"--shell=kiosk-shell.so"_s,
                                 u"--socket="_s + socket, u"--idle-time=0"_s, u"--no-config"_s,
                                 u"--log="_s + qEnvironmentVariable("HOME") + u"/weston.log"_s});
    const QString path = qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + socket;
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(path); }, 20s));

    QtScheduler scheduler;
    FakeScheduler clock;
    FakePasteboard x11Pasteboard(scheduler);
    FakeSyntheticKeyboard x11Keyboard(clock);
    FakeKeyEventMonitors x11KeyEvents;
    const QByteArray sway = qgetenv("WAYLAND_DISPLAY");
    qputenv("WAYLAND_DISPLAY", socket.toUtf8());
    WaylandServices services(
        {scheduler, noBus(), false, {}, x11Pasteboard, x11Keyboard, x11KeyEvents});
    qputenv("WAYLAND_DISPLAY", sway);
    const SessionCapabilities& chosen = services.capabilities();

    EXPECT_EQ(chosen.hold(), SessionCapabilities::Hold::compositorBindings);
    EXPECT_EQ(chosen.clipboard(), SessionCapabilities::Clipboard::x11Selection);
    EXPECT_EQ(chosen.paste(), SessionCapabilities::Paste::none);
    EXPECT_EQ(&services.pasteboard(), &x11Pasteboard);
    EXPECT_FALSE(
        services.keyboard().makeKeystroke(ClipboardInserter::pasteKeyCode, ModifierFlags::command));
    EXPECT_FALSE(services.watchesHoldKey());
    ASSERT_TRUE(chosen.limitation());
    EXPECT_TRUE(chosen.limitation()->startsWith(u"This Wayland session lets Murmo neither"_s));
    EXPECT_TRUE(chosen.report().contains(u"data-control not offered; no seat"_s))
        << chosen.report().toStdString();
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
