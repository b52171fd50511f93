#include "core/ClipboardInserter.h"
#include "fakes/FakeSyntheticKeyboard.h"
#include "platform/linux/AtspiSecureInput.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11Pasteboard.h"
#include "platform/linux/X11SyntheticKeyboard.h"
#include "platform/linux/XTestInjectionMarker.h"
#include "support/TestDesktop.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <list>

#include <signal.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::TestDesktop;
using murmo::test::waitUntil;
using Kind = InsertOutcome::Kind;

namespace {

// X keycodes of the keys these tests press.
constexpr int shiftLeft = 50;
constexpr int returnKey = 36;
constexpr int capsLock = 66;
constexpr int letterA = 38; // "ф" in the Russian layout

// xterm binds no key to pasting the clipboard; terminals that do use Control+Shift+V.
const QString xtermPasteBinding =
    u"XTerm*VT100.translations: #override Ctrl Shift <Key>V: insert-selection(CLIPBOARD)"_s;

// Another X client the test drives, with what it printed so far.
class Client
{
public:
    Client(const QString& program, const QStringList& arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine())
                lines.append(QString::fromUtf8(m_process.readLine()).chopped(1));
        });
        m_process.start(program, arguments);
    }
    ~Client()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    bool waitForLine(const QString& line)
    {
        return waitUntil([&] { return lines.contains(line); }, 20s);
    }
    bool waitForExit()
    {
        return waitUntil([&] { return m_process.state() == QProcess::NotRunning; }, 20s);
    }
    QProcess& process() { return m_process; }

    QStringList lines;

private:
    QProcess m_process;
};

class TextInsertionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keyboard.isConnected());
        ASSERT_TRUE(files.isValid());
        desktop.clearClipboard();
    }

    InsertOutcome insert(const QString& text, TextInserter& via)
    {
        std::optional<InsertOutcome> outcome;
        [](TextInserter& via, QString text,
           std::optional<InsertOutcome>& outcome) -> QCoro::Task<> {
            outcome = co_await via.insertText(text, {});
        }(via, text, outcome);
        EXPECT_TRUE(waitUntil([&] { return outcome.has_value(); }, 20s));
        return outcome.value_or(InsertOutcome::failed(u"never finished"_s));
    }
    InsertOutcome insert(const QString& text) { return insert(text, inserter); }

    // Lets the restore of the earlier clipboard come due, with the event loop turning.
    static void passRestoreDelay()
    {
        const QDeadlineTimer due(ClipboardInserter::restoreDelay + 1s);
        waitUntil([&] { return due.hasExpired(); });
    }

    Client& launch(const QString& program, const QStringList& arguments)
    {
        return clients.emplace_back(program, arguments);
    }
    Client& lineEdit()
    {
        Client& client = launch(QStringLiteral(PASTE_TARGET), {u"line-edit"_s});
        EXPECT_TRUE(desktop.focusWindow("paste_target"));
        EXPECT_TRUE(client.waitForLine(u"ready"_s));
        return client;
    }
    // A terminal whose program writes every byte it receives to a file, at once.
    QString xterm()
    {
        const QString typed = files.filePath(u"typed"_s);
        launch(u"env"_s,
               {u"LC_ALL=C.UTF-8"_s, u"xterm"_s, u"-u8"_s, u"-xrm"_s, xtermPasteBinding, u"-e"_s,
                u"sh"_s, u"-c"_s, u"stty raw -echo; exec cat > \"$0\""_s, typed});
        EXPECT_TRUE(waitUntil([&] { return QFile::exists(typed); }, 20s));
        EXPECT_TRUE(desktop.focusWindow("xterm"));
        return typed;
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Another application owns the clipboard with one item: `image` as a PNG and a caption.
    void copyImageElsewhere(const QByteArray& image)
    {
        QFile file(files.filePath(u"image.png"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
        file.close();
        Client& owner = launch(QStringLiteral(PASTE_TARGET),
                               {u"own-clipboard"_s, file.fileName(), u"caption"_s});
        ASSERT_TRUE(owner.waitForLine(u"owned"_s));
    }
    // Another application owns the clipboard with this text.
    void copyElsewhere(const QByteArray& text)
    {
        Client& xclip = launch(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-quiet"_s});
        xclip.process().write(text);
        xclip.process().closeWriteChannel();
        ASSERT_TRUE(waitUntil([&] { return TestDesktop::readClipboard() == text; }, 20s));
    }

    QtScheduler scheduler;
    SystemClock clock;
    XTestInjectionMarker ownInjections{clock};
    X11Pasteboard pasteboard{scheduler};
    X11SyntheticKeyboard synthetic{ownInjections};
    AtspiSecureInput secureInput{scheduler};
    ClipboardInserter inserter{scheduler, secureInput, pasteboard, synthetic};
    TestDesktop desktop;
    murmo::test::XTestKeyboard keyboard;
    QTemporaryDir files;
    std::list<Client> clients;
};

TEST_F(TextInsertionTest, ImageAndTextItemComesBackByteForByte)
{
    QByteArray image(3 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator(8).fillRange(reinterpret_cast<quint32*>(image.data()), image.size() / 4);
    copyImageElsewhere(image);

    EXPECT_EQ(insert(u"dictated"_s).kind, Kind::inserted);
    EXPECT_EQ(TestDesktop::readClipboard(), "dictated");
    EXPECT_EQ(TestDesktop::readClipboard("x-kde-passwordManagerHint"), "secret");
    EXPECT_EQ(TestDesktop::readClipboard("org.nspasteboard.TransientType"), "");

    passRestoreDelay();
    EXPECT_EQ(TestDesktop::readClipboard("image/png"), image);
    EXPECT_EQ(TestDesktop::readClipboard(), "caption");
}

TEST_F(TextInsertionTest, RestoreKeepsACopyMadeMeanwhileAndAnEmptyClipboard)
{
    EXPECT_EQ(insert(u"first"_s).kind, Kind::inserted);
    copyElsewhere("copied meanwhile");
    passRestoreDelay();
    EXPECT_EQ(TestDesktop::readClipboard(), "copied meanwhile");

    desktop.clearClipboard();
    EXPECT_EQ(insert(u"second"_s).kind, Kind::inserted);
    EXPECT_TRUE(desktop.clipboardHasOwner());
    passRestoreDelay();
    EXPECT_FALSE(desktop.clipboardHasOwner());
}

TEST_F(TextInsertionTest, HungOrHugeClipboardOwnerCostsOnlyItsFormats)
{
    // An owner that stopped answering: the paste goes ahead after the time bound.
    copyElsewhere("never handed over");
    ::kill(pid_t(clients.back().process().processId()), SIGSTOP);
    Client& target = lineEdit();
    EXPECT_EQ(insert(u"still pasted"_s).kind, Kind::inserted);
    EXPECT_TRUE(target.waitForLine(u"text:still pasted"_s));

    // A format over the size bound is left out; the others are kept.
    copyImageElsewhere(QByteArray(2'000'000, 'x'));
    X11Pasteboard smallLimits(scheduler, {X11Pasteboard::formatLimits.time, 1'000'000});
    std::optional<PasteboardItem> snapshot;
    [](Pasteboard& pasteboard, std::optional<PasteboardItem>& snapshot) -> QCoro::Task<> {
        snapshot = co_await pasteboard.snapshot();
    }(smallLimits, snapshot);
    ASSERT_TRUE(waitUntil([&] { return snapshot.has_value(); }, 20s));
    EXPECT_EQ(*snapshot, PasteboardItem::fromPlainText(u"caption"_s));
}

TEST_F(TextInsertionTest, PasswordFieldIsRefusedUntilTheFocusLeavesIt)
{
    ASSERT_TRUE(waitUntil([&] { return secureInput.isListening(); }, 20s));
    copyElsewhere("before");
    Client& password = launch(u"zenity"_s, {u"--password"_s});
    ASSERT_TRUE(desktop.focusWindow("zenity"));
    ASSERT_TRUE(waitUntil([&] { return secureInput.isEnabled(); }, 20s));

    EXPECT_EQ(insert(u"my secret"_s).kind, Kind::secureInput);
    EXPECT_EQ(TestDesktop::readClipboard(), "before");
    keyboard.press(returnKey);
    keyboard.release(returnKey);
    ASSERT_TRUE(password.waitForExit());
    EXPECT_EQ(password.lines, QStringList{QString()}) << "nothing was typed into the field";

    // A window that tells the accessibility bus nothing now has the keyboard.
    Client& target = lineEdit();
    EXPECT_FALSE(secureInput.isEnabled());
    EXPECT_EQ(insert(u"plain"_s).kind, Kind::inserted);
    EXPECT_TRUE(target.waitForLine(u"text:plain"_s));
}

TEST_F(TextInsertionTest, KeystrokeThatCannotBeMadeLeavesTheTextForPastingByHand)
{
    FakeSyntheticKeyboard failing{clock};
    failing.refuse = true;
    ClipboardInserter inserterWithoutKeys{scheduler, secureInput, pasteboard, failing};
    Client& target = lineEdit();
    copyElsewhere("before");

    const InsertOutcome outcome = insert(u"by hand"_s, inserterWithoutKeys);
    EXPECT_EQ(outcome.kind, Kind::failed);
    EXPECT_EQ(outcome.reason, u"paste event failed"_s);
    passRestoreDelay();
    EXPECT_EQ(TestDesktop::readClipboard(), "by hand");
    EXPECT_FALSE(target.lines.contains(u"text:by hand"_s));
}

TEST_F(TextInsertionTest, QtFieldGetsAnyScriptEvenWithShiftHeld)
{
    Client& target = lineEdit();
    keyboard.press(shiftLeft); // would turn the paste chord into one the field ignores
    const QString text = u"Привет, мир! Dictated 👋🏽 text"_s;
    EXPECT_EQ(insert(text).kind, Kind::inserted);
    EXPECT_TRUE(target.waitForLine(u"text:"_s + text)) << target.lines.join(u'\n').toStdString();
    EXPECT_TRUE(desktop.isKeyDown(shiftLeft)) << "held again after the paste";
    keyboard.release(shiftLeft);
}

// Many users type with a Latin and a Cyrillic layout, switching with Caps Lock.
class SecondLayoutTest : public TextInsertionTest
{
protected:
    void SetUp() override
    {
        TextInsertionTest::SetUp();
        ASSERT_TRUE(TestDesktop::run(
            u"setxkbmap"_s, {u"-layout"_s, u"us,ru"_s, u"-option"_s, u"grp:caps_toggle"_s}));
        keyboard.press(capsLock);
        keyboard.release(capsLock);
    }
    void TearDown() override
    {
        TestDesktop::run(u"setxkbmap"_s, {u"-layout"_s, u"us"_s, u"-option"_s, u""_s});
    }
};

TEST_F(SecondLayoutTest, QtGtkAndTerminalFieldsGetThePasteAndTheLayoutStays)
{
    const QString text = u"текст and text"_s;
    Client& target = lineEdit();
    EXPECT_EQ(insert(text).kind, Kind::inserted);
    ASSERT_TRUE(target.waitForLine(u"text:"_s + text));
    keyboard.press(letterA);
    keyboard.release(letterA);
    EXPECT_TRUE(target.waitForLine(u"text:"_s + text + u"ф"_s))
        << target.lines.join(u'\n').toStdString();

    Client& entry = launch(u"zenity"_s, {u"--entry"_s});
    ASSERT_TRUE(desktop.focusWindow("zenity"));
    EXPECT_EQ(insert(text).kind, Kind::inserted);
    // The field's text comes out once the dialog is confirmed; give the paste time to land.
    passRestoreDelay();
    keyboard.press(returnKey);
    keyboard.release(returnKey);
    ASSERT_TRUE(entry.waitForExit());
    EXPECT_EQ(entry.lines, QStringList{text});

    const QString typed = xterm();
    EXPECT_EQ(insert(text).kind, Kind::inserted);
    EXPECT_TRUE(waitUntil([&] { return contents(typed) == text.toUtf8(); }, 20s))
        << contents(typed).toStdString();
}

} // namespace
