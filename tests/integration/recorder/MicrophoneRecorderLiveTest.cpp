#include "recorder/DecodedAudio.h"
#include "recorder/LiveRecorder.h"
#include "support/WaitUntil.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace murmo::test;

namespace {

// Runs a helper program to its end; false when it could not run or failed.
bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    waitUntil([&] { return process.state() == QProcess::NotRunning; });
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

TEST(MicrophoneRecorderLiveTest, SpeechPlayedToTheMicrophoneComesBackAsATake)
{
    QTemporaryDir dir;
    const QString speech = dir.filePath(u"speech.wav"_s);
    ASSERT_TRUE(run(u"flite"_s, {u"-voice"_s, u"slt"_s, u"-t"_s,
                                 u"Please send the quarterly report to the whole team by Friday."_s,
                                 u"-o"_s, speech}));
    const auto played = decodeAudioFile(speech);
    ASSERT_TRUE(played);

    LiveRecorder live;
    double loudest = 0;
    QObject::connect(&live.recorder, &MicrophoneRecorder::levelChanged,
                     [&] { loudest = std::max(loudest, live.recorder.level()); });
    ASSERT_FALSE(live.recorder.start());
    // A fresh sound server is slow to deliver its first capture: play once the microphone is live.
    ASSERT_TRUE(waitUntil([&] { return live.engine.buffers > 0; }));
    ASSERT_TRUE(run(u"paplay"_s, {speech}));
    // Once a quiet buffer follows the speech, all of it has been heard.
    ASSERT_TRUE(waitUntil([&] { return live.recorder.level() < 0.01; }));
    const auto take = live.recorder.stop();

    ASSERT_TRUE(take);
    EXPECT_EQ(take->ext, u"m4a"_s);
    const auto heard = decodeAudio(take->data, take->ext);
    ASSERT_TRUE(heard);
    const double captured = double(live.engine.frames) / live.audio.inputFormat().sampleRate;
    EXPECT_NEAR(heard->seconds(), captured, 0.1) << "the recording lost or gained audio";
    EXPECT_NEAR(heard->audibleSeconds(0.01), played->audibleSeconds(0.01), 0.1)
        << "played " << played->seconds() << " s in all, recorded " << heard->seconds() << " s";
    EXPECT_GT(loudest, 0.2);
}

TEST(MicrophoneRecorderLiveTest, AOneSecondHoldKeepsAllOfItsSecond)
{
    LiveRecorder live;
    // A fresh sound server is slow to deliver its first capture; a user's server is not.
    ASSERT_FALSE(live.recorder.start());
    ASSERT_TRUE(waitUntil([&] { return live.engine.buffers > 0; }));
    live.recorder.cancel();

    ASSERT_FALSE(live.recorder.start());
    QElapsedTimer held;
    held.start();
    waitUntil([&] { return held.elapsed() >= 1000; });
    const auto take = live.recorder.stop();
    ASSERT_TRUE(take);
    // Everything up to the release, the last partial buffer included, and all of it in the file
    // (which rounds up to whole AAC frames).
    const double captured = double(live.engine.frames) / live.audio.inputFormat().sampleRate;
    EXPECT_GE(captured, 0.99);
    const auto heard = decodeAudio(take->data, take->ext);
    ASSERT_TRUE(heard);
    EXPECT_GE(heard->seconds(), captured);
}

} // namespace
