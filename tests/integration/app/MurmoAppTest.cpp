#include "support/RunningBackend.h"
#include "support/TestDesktop.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"
#include "support/XTestPointer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::RunningBackend;
using murmo::test::spokenWav;
using murmo::test::TestDesktop;
using murmo::test::waitUntil;
using murmo::test::XTestKeyboard;
using murmo::test::XTestPointer;

namespace {

constexpr int superR = 134;
constexpr int down = 116;
constexpr int enter = 36;

// A line of Murmo's dictation log (QT_LOGGING_RULES turns it on).
QString step(const QString& text)
{
    return u"murmo.dictation: "_s + text;
}

// A process of the desktop whose output the test reads line by line, with the time each line
// arrived.
class Program
{
public:
    void start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program, arguments);
        m_clock.start();
    }
    ~Program()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    // The first line from `from` on that starts with `prefix`, waiting for it; the index after it
    // goes to `next`.
    std::optional<QString> waitForLine(const QString& prefix, qsizetype from = 0,
                                       qsizetype* next = nullptr,
                                       std::chrono::milliseconds limit = 30s)
    {
        std::optional<QString> found;
        waitUntil(
            [&] {
                read();
                for (qsizetype i = from; i < m_lines.size(); ++i) {
                    if (m_lines[i].text.startsWith(prefix)) {
                        found = m_lines[i].text;
                        if (next)
                            *next = i + 1;
                        m_lastMatchMs = m_lines[i].ms;
                        return true;
                    }
                }
                return false;
            },
            limit);
        return found;
    }
    qsizetype lineCount()
    {
        read();
        return m_lines.size();
    }
    qint64 lastMatchMs() const { return m_lastMatchMs; }
    qint64 elapsedMs() const { return m_clock.elapsed(); }
    QProcess& process() { return m_process; }

private:
    struct Line
    {
        QString text;
        qint64 ms;
    };
    void read()
    {
        while (m_process.canReadLine())
            m_lines.append({QString::fromUtf8(m_process.readLine()).trimmed(), m_clock.elapsed()});
    }

    QProcess m_process;
    QElapsedTimer m_clock;
    QList<Line> m_lines;
    qint64 m_lastMatchMs = 0;
};

// Murmo in a home of its own, as a new user who finished onboarding (or not) would run it.
class MurmoAppTest : public testing::Test
{
protected:
    QProcessEnvironment environment(const QUrl& backend) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        env.insert(u"XDG_CACHE_HOME"_s, home.filePath(u"cache"_s));
        env.insert(u"MURMO_BACKEND_URL"_s, backend.toString());
        env.insert(u"QT_LOGGING_RULES"_s, u"murmo.dictation.debug=true"_s);
        return env;
    }
    void writePreferences(bool onboarded) const
    {
        QDir().mkpath(home.filePath(u"config/Murmo"_s));
        QFile file(home.filePath(u"config/Murmo/preferences.json"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{u"murmo.mac.onboarded"_s, onboarded},
                                             {u"murmo.mac.icloudSync"_s, false}})
                       .toJson());
    }
    void startMurmo(const QUrl& backend, bool onboarded)
    {
        writePreferences(onboarded);
        murmo.start(QString::fromUtf8(MURMO_BINARY), {}, environment(backend));
        ASSERT_TRUE(murmo.waitForLine(step(u"set up"_s))) << "Murmo did not start";
    }
    QJsonArray historyRecords() const
    {
        QFile file(home.filePath(u"data/Murmo/murmo-history.json"_s));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object().value(u"history"_s).toArray();
    }

    QTemporaryDir home;
    Program murmo;
    TestDesktop desktop;
    XTestKeyboard keyboard;
};

class DictationTest : public MurmoAppTest
{
protected:
    struct Held
    {
        double seconds = 0;
        qint64 releasedAtMs = 0; // on murmo's output clock
        qsizetype linesBefore = 0;
    };

    // Holds right Super while `wav` plays into the virtual microphone, as a user speaks.
    Held dictate(const QByteArray& wav)
    {
        QTemporaryDir dir;
        const QString speech = dir.filePath(u"speech.wav"_s);
        QFile file(speech);
        file.open(QIODevice::WriteOnly);
        file.write(wav);
        file.close();

        Held held;
        held.linesBefore = murmo.lineCount();
        keyboard.press(superR);
        EXPECT_TRUE(murmo.waitForLine(step(u"phase recording"_s), held.linesBefore, nullptr, 10s));
        // The hold counts from the start of the recording, as Murmo sees it: a loaded machine may
        // deliver the key press itself a good while later than it was made.
        const qint64 recordingMs = murmo.lastMatchMs();
        QProcess::execute(u"paplay"_s, {speech});
        keyboard.release(superR);
        held.releasedAtMs = murmo.elapsedMs();
        held.seconds = double(held.releasedAtMs - recordingMs) / 1000;
        return held;
    }
    // The text the last paste added to the field holds at least half of `words`: enough to
    // show the speech went through, while a recogniser starved by a loaded machine mishears some.
    bool fieldShows(const QStringList& words)
    {
        const QString before = fieldText.isEmpty() ? u"text:"_s : fieldText;
        return waitUntil(
            [&] {
                const auto line = field.waitForLine(u"text:"_s, fieldLines, nullptr, 100ms);
                if (!line || !line->startsWith(before))
                    return false;
                fieldText = *line;
                const QString added = line->mid(before.size()).toLower();
                qsizetype heard = 0;
                for (const QString& word : words)
                    heard += added.contains(word);
                return 2 * heard >= words.size();
            },
            10s);
    }

    Program field;
    Program clipboardOwner;
    qsizetype fieldLines = 0;
    QString fieldText;
};

TEST_F(DictationTest, SpeechBecomesTextInAnotherApplicationAndSurvivesTheBackendGoingAway)
{
    QTemporaryDir data;
    const QString database = data.filePath(u"backend.sqlite3"_s);
    auto backend = std::make_unique<RunningBackend>(database);
    ASSERT_TRUE(backend->url().isValid()) << "murmo-backend did not start";
    startMurmo(backend->url(), true);

    field.start(QString::fromUtf8(PASTE_TARGET), {u"line-edit"_s});
    ASSERT_TRUE(field.waitForLine(u"ready"_s)) << "the other application's field has no focus";
    clipboardOwner.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-quiet"_s});
    clipboardOwner.process().write("from the other application");
    clipboardOwner.process().closeWriteChannel();
    ASSERT_TRUE(waitUntil(
        [] { return TestDesktop::readClipboard() == QByteArray("from the other application"); }));

    // A dictation, end to end.
    const QString spoken =
        u"Please send the quarterly report to the finance team before the meeting on Friday "
        "afternoon."_s;
    const Held first = dictate(spokenWav(spoken));
    qsizetype next = 0;
    ASSERT_TRUE(murmo.waitForLine(step(u"phase processing"_s), first.linesBefore, &next));
    const qint64 processingMs = murmo.lastMatchMs();
    ASSERT_TRUE(murmo.waitForLine(step(u"answered"_s), next, &next, 60s));
    const qint64 answeredMs = murmo.lastMatchMs();
    ASSERT_TRUE(murmo.waitForLine(step(u"phase done"_s), next, &next));
    const qint64 doneMs = murmo.lastMatchMs();
    EXPECT_TRUE(fieldShows({u"send"_s, u"report"_s, u"finance"_s, u"team"_s, u"friday"_s}))
        << qPrintable(fieldText);
    const qint64 fieldMs = field.lastMatchMs() + (murmo.elapsedMs() - field.elapsedMs());
    std::printf(
        "a %.1f s hold; release to text: stop %lld ms, request and backend %lld ms, paste %lld ms "
        "(text seen after %lld ms)\n",
        first.seconds, processingMs - first.releasedAtMs, answeredMs - processingMs,
        doneMs - answeredMs, fieldMs - first.releasedAtMs);

    EXPECT_TRUE(waitUntil(
        [] { return TestDesktop::readClipboard() == QByteArray("from the other application"); },
        10s))
        << "the earlier clipboard comes back";
    ASSERT_TRUE(waitUntil([&] { return historyRecords().size() == 1; }, 10s));
    const QJsonArray records = historyRecords();
    const QJsonObject record = records.first().toObject();
    EXPECT_EQ(record.value(u"device"_s).toString(), u"mac"_s);
    EXPECT_FALSE(record.value(u"raw"_s).toString().isEmpty());
    EXPECT_NEAR(record.value(u"durationSec"_s).toDouble(), first.seconds, 0.2);

    // The backend goes away: a notice, nothing inserted, nothing recorded.
    const QUrl address = backend->url();
    backend.reset();
    fieldLines = field.lineCount();
    const Held second = dictate(spokenWav(u"This one goes nowhere."_s));
    const auto notice =
        murmo.waitForLine(step(u"phase notice"_s), second.linesBefore, nullptr, 60s);
    ASSERT_TRUE(notice);
    std::printf("with the backend stopped: %s\n", qPrintable(*notice));
    EXPECT_FALSE(murmo.waitForLine(step(u"phase done"_s), second.linesBefore, nullptr, 2s));
    EXPECT_EQ(field.lineCount(), fieldLines) << "nothing was inserted";
    EXPECT_EQ(historyRecords().size(), 1);

    // Once it is back, the next dictation works.
    backend = std::make_unique<RunningBackend>(database, QStringList{}, address.port());
    ASSERT_EQ(backend->url(), address);
    const Held third = dictate(spokenWav(spoken));
    ASSERT_TRUE(murmo.waitForLine(step(u"phase done"_s), third.linesBefore, nullptr, 60s));
    EXPECT_TRUE(fieldShows({u"send"_s, u"report"_s, u"finance"_s, u"team"_s, u"friday"_s}))
        << qPrintable(fieldText);
    EXPECT_TRUE(waitUntil([&] { return historyRecords().size() == 2; }, 10s));
}

TEST_F(MurmoAppTest, ASecondLaunchShowsTheRunningOnesWindowsAndEnds)
{
    QTemporaryDir data;
    RunningBackend backend(data.filePath(u"backend.sqlite3"_s));
    startMurmo(backend.url(), false);
    ASSERT_TRUE(waitUntil([&] { return desktop.showsWindow("Welcome to Murmo"); }, 10s));
    EXPECT_FALSE(desktop.showsWindow("Murmo"));
    EXPECT_TRUE(desktop.skipsTaskbar("Welcome to Murmo")) << "in the tray alone, no taskbar entry";

    QProcess second;
    second.setProcessEnvironment(environment(backend.url()));
    second.start(QString::fromUtf8(MURMO_BINARY), {});
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, 10s));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return desktop.showsWindow("Murmo"); }, 10s))
        << "the running Murmo shows its main window";
    EXPECT_FALSE(desktop.skipsTaskbar("Murmo")) << "with its main window, a taskbar entry";
    EXPECT_FALSE(desktop.skipsTaskbar("Welcome to Murmo"));

    second.start(QString::fromUtf8(MURMO_BINARY), {u"--history"_s});
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, 10s));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return desktop.showsWindow("Murmo History"); }, 10s));
    EXPECT_EQ(murmo.process().state(), QProcess::Running);
}

TEST_F(MurmoAppTest, TheTrayOpensTheMainWindowAndClosingItLeavesTheTaskbar)
{
    Program tray;
    tray.start(QString::fromUtf8(TRAY_HOST), {});
    ASSERT_TRUE(tray.waitForLine(u"ready"_s));
    QTemporaryDir data;
    RunningBackend backend(data.filePath(u"backend.sqlite3"_s));
    startMurmo(backend.url(), true);
    ASSERT_TRUE(tray.waitForLine(u"docked"_s)) << "Murmo's icon is in the tray";

    // A user who finished onboarding finds the main window open, listed in the taskbar.
    ASSERT_TRUE(waitUntil([&] { return desktop.showsWindow("Murmo"); }, 10s));
    EXPECT_FALSE(desktop.skipsTaskbar("Murmo"));

    // Closed with the title bar's button: Murmo lives on in the tray alone, so the history
    // window (a middle click on the icon) is left out of the taskbar.
    desktop.closeWindow("Murmo");
    ASSERT_TRUE(waitUntil([&] { return !desktop.showsWindow("Murmo"); }, 10s));
    XTestPointer pointer;
    const QPoint icon(10, 10); // the tray docks the first icon at its top left
    pointer.moveTo(icon);
    pointer.click(2);
    ASSERT_TRUE(waitUntil([&] { return desktop.showsWindow("Murmo History"); }, 10s));
    EXPECT_TRUE(desktop.skipsTaskbar("Murmo History"));
    EXPECT_EQ(murmo.process().state(), QProcess::Running);
    desktop.closeWindow("Murmo History"); // it stands over the tray on a desktop without a WM
    ASSERT_TRUE(waitUntil([&] { return !desktop.showsWindow("Murmo History"); }, 10s));

    // The tray menu's first item, "Open Murmo", brings the main window back, with its taskbar
    // entry.
    pointer.moveTo(icon);
    pointer.click();
    ASSERT_TRUE(waitUntil([&] { return desktop.keyboardGrabbed(); }, 10s))
        << "the menu pops up and takes the keyboard";
    keyboard.press(down);
    keyboard.release(down);
    QElapsedTimer opening;
    opening.start();
    keyboard.press(enter);
    keyboard.release(enter);
    ASSERT_TRUE(waitUntil([&] { return desktop.showsWindow("Murmo"); }, 10s));
    std::printf("main window on screen %lld ms after \"Open Murmo\"\n",
                static_cast<long long>(opening.elapsed()));
    EXPECT_FALSE(desktop.skipsTaskbar("Murmo"));
}

} // namespace
