// Each test here takes the sound server away. CTest runs each in a private desktop of its own;
// run by hand, use a fresh scripts/with-desktop per test.

#include "recorder/DecodedAudio.h"
#include "recorder/LiveRecorder.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QMediaDevices>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace murmo::test;

namespace {

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

TEST(MicrophoneRecorderOutageTest, NoInputDeviceIsAnErrorNotACrash)
{
    // The microphone is remapped from the speaker's monitor: unloading the speaker takes every
    // source with it.
    ASSERT_EQ(QProcess::execute(u"pactl"_s, {u"unload-module"_s, u"module-null-sink"_s}), 0);
    ASSERT_TRUE(waitUntil([] { return QMediaDevices::audioInputs().isEmpty(); }));

    LiveRecorder live;
    const auto error = live.recorder.start();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, u"Murmo"_s);
    EXPECT_EQ(error->code, 1);
    EXPECT_EQ(error->description, u"No microphone available"_s);
    EXPECT_FALSE(live.recorder.isRecording());
    EXPECT_FALSE(live.recorder.stop());
}

TEST(MicrophoneRecorderOutageTest, SoundServerDyingKeepsWhatWasCaptured)
{
    LiveRecorder live;
    ASSERT_FALSE(live.recorder.start());
    const int rate = live.audio.inputFormat().sampleRate;
    ASSERT_TRUE(waitUntil([&] { return live.engine.frames >= rate; }));

    const pid_t server = soundServerPid();
    ASSERT_GT(server, 0);
    ASSERT_EQ(kill(server, SIGKILL), 0);
    // The main thread keeps turning while the server dies and the capture side finds out.
    ASSERT_TRUE(waitUntil([&] { return hasExited(server); }));

    const auto take = live.recorder.stop();
    ASSERT_TRUE(take);
    const auto heard = decodeAudio(take->data, take->ext);
    ASSERT_TRUE(heard);
    EXPECT_NEAR(heard->seconds(), double(live.engine.frames) / rate, 0.1);
    EXPECT_GE(heard->seconds(), 0.9);
    EXPECT_TRUE(live.recorder.start()) << "a start without a server must fail";
}

} // namespace
