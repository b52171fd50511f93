// Each test here takes the microphone or the whole sound server away. CTest runs each in a private
// desktop of its own; run by hand, use a fresh scripts/with-desktop per test.

#include "recorder/DecodedAudio.h"
#include "recorder/LiveRecorder.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace murmo::test;

namespace {

// What pactl prints; none when it fails.
std::optional<QString> pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(u"pactl"_s, arguments);
    waitUntil([&] { return process.state() == QProcess::NotRunning; });
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The sound server's process, from the far end of a connection to its socket.
pid_t soundServerPid()
{
    const QByteArray path = qgetenv("PULSE_SERVER").sliced(qstrlen("unix:"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ucred peer{};
    socklen_t length = sizeof peer;
    const bool known = fd >= 0 &&
                       ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0;
    if (fd >= 0)
        close(fd);
    return known ? peer.pid : -1;
}

// Gone, or a zombie: either way its sockets are closed.
bool hasExited(pid_t pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    return fields.sliced(fields.lastIndexOf(')') + 2).startsWith('Z');
}

// A sound server like the desktop's own, started by the test (on the same socket) after the
// desktop's one went away, and stopped with the test.
class ReplacementSoundServer
{
public:
    ReplacementSoundServer()
    {
        const QString home = m_home.path();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, home);
        environment.insert(u"XDG_CONFIG_HOME"_s, home + u"/.config"_s);
        environment.insert(u"XDG_STATE_HOME"_s, home + u"/.state"_s);
        m_server.setProcessEnvironment(environment);
        m_server.start(u"pulseaudio"_s,
                       {u"-n"_s, u"--system=no"_s, u"--daemonize=no"_s, u"--disallow-exit"_s,
                        u"--use-pid-file=no"_s, u"--exit-idle-time=-1"_s, u"-F"_s,
                        QStringLiteral(MURMO_VIRTUAL_AUDIO_SCRIPT)});
    }
    ~ReplacementSoundServer()
    {
        m_server.terminate();
        m_server.waitForFinished();
    }

    bool ready() const
    {
        return waitUntil([] {
            return pactl({u"info"_s}).value_or(QString()).contains(u"Default Source: vmic"_s);
        });
    }

private:
    QTemporaryDir m_home;
    QProcess m_server;
};

// Every message the program logs while the test runs; the capture thread logs too.
class LoggedMessages
{
public:
    LoggedMessages()
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&LoggedMessages::record);
    }
    ~LoggedMessages()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }

    QStringList lines() const
    {
        const QMutexLocker locker(&m_lock);
        return m_lines;
    }

private:
    static void record(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        const QMutexLocker locker(&s_current->m_lock);
        s_current->m_lines.append(message);
    }

    static inline LoggedMessages* s_current = nullptr;
    QtMessageHandler m_previous;
    mutable QMutex m_lock;
    QStringList m_lines;
};

// Records for a while after `lost` took the microphone away, then checks that the take holds
// what came before and that the loss was told in one line.
void expectTakeOfWhatCameBefore(LiveRecorder& live, const std::function<void()>& lost,
                                const QString& told)
{
    LoggedMessages log;
    ASSERT_FALSE(live.recorder.start());
    const int rate = live.audio.inputFormat().sampleRate;
    ASSERT_TRUE(waitUntil([&] { return live.engine.frames >= rate; }));

    lost();
    ASSERT_TRUE(waitUntil([&] { return !log.lines().isEmpty(); }));
    QElapsedTimer after;
    after.start();
    waitUntil([&] { return after.elapsed() >= 1000; });

    const auto take = live.recorder.stop();
    ASSERT_TRUE(take);
    const auto heard = decodeAudio(take->data, take->ext);
    ASSERT_TRUE(heard);
    EXPECT_NEAR(heard->seconds(), double(live.engine.frames) / rate, 0.1);
    EXPECT_GE(heard->seconds(), 0.9);
    const QStringList lines = log.lines();
    ASSERT_EQ(lines.size(), 1) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.front().startsWith(told)) << lines.front().toStdString();
}

TEST(MicrophoneRecorderOutageTest, NoInputDeviceIsAnErrorNotACrash)
{
    // The microphone is remapped from the speaker's monitor: unloading the speaker takes every
    // source with it.
    ASSERT_TRUE(pactl({u"unload-module"_s, u"module-null-sink"_s}));
    ASSERT_TRUE(waitUntil([] { return pactl({u"list"_s, u"short"_s, u"sources"_s}) == u""_s; }));

    LiveRecorder live;
    const auto error = live.recorder.start();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, u"Murmo"_s);
    EXPECT_EQ(error->code, 1);
    EXPECT_EQ(error->description, u"No microphone available"_s);
    EXPECT_FALSE(live.recorder.isRecording());
    EXPECT_FALSE(live.recorder.stop());
}

TEST(MicrophoneRecorderOutageTest, SoundServerDyingKeepsWhatWasCapturedUntilItReturns)
{
    LiveRecorder live;
    const pid_t server = soundServerPid();
    ASSERT_GT(server, 0);
    expectTakeOfWhatCameBefore(
        live,
        [&] {
            ASSERT_EQ(kill(server, SIGKILL), 0);
            ASSERT_TRUE(waitUntil([&] { return hasExited(server); }));
        },
        u"Microphone lost"_s);

    EXPECT_TRUE(live.recorder.start()) << "a start without a server must fail";
    EXPECT_FALSE(live.recorder.isRecording());

    // The user starts the server again and only has to try again.
    const ReplacementSoundServer replacement;
    ASSERT_TRUE(replacement.ready());
    const auto error = live.recorder.start();
    ASSERT_FALSE(error) << error->description.toStdString();
    const int rate = live.audio.inputFormat().sampleRate;
    EXPECT_TRUE(waitUntil([&] { return live.engine.frames >= rate / 2; }));
    EXPECT_TRUE(live.recorder.stop());
}

TEST(MicrophoneRecorderOutageTest, MicrophoneUnpluggedMidRecordingKeepsWhatCameBefore)
{
    LiveRecorder live;
    // The source alone goes, as a USB microphone does; the speaker's monitor stays, and the
    // recording must not carry on from it.
    expectTakeOfWhatCameBefore(
        live,
        [] {
            ASSERT_TRUE(pactl({u"unload-module"_s, u"module-remap-source"_s}));
        },
        u"Microphone lost"_s);
}

TEST(MicrophoneRecorderOutageTest, SuspendedMicrophoneFailsInTimeAndWorksOnceResumed)
{
    const auto suspend = [](bool on) {
        ASSERT_TRUE(pactl({u"suspend-source"_s, u"vmic"_s, on ? u"1"_s : u"0"_s}));
    };
    suspend(true);
    LiveRecorder live;
    const auto error = live.recorder.start();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, u"PulseAudio"_s);
    EXPECT_EQ(error->description, u"The microphone is suspended"_s);
    EXPECT_FALSE(live.recorder.isRecording());

    suspend(false);
    expectTakeOfWhatCameBefore(
        live, [&] { suspend(true); }, u"Microphone suspended"_s);
}

} // namespace
