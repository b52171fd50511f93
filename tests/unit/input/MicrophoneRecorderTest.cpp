#include "input/MicrophoneRecorder.h"

#include "fakes/FakeAudioEngine.h"
#include "fakes/FakeScheduler.h"
#include "platform/linux/FfmpegAudioFileEncoder.h"
#include "platform/linux/SwrAudioConverter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

using Sample = AudioFormat::Sample;

// Interleaved float frames; every channel but the first holds a loud constant, which the level
// must not see.
QByteArray floatFrames(int channels, qsizetype frames, const std::function<float(qsizetype)>& first)
{
    QByteArray bytes(frames * channels * qsizetype(sizeof(float)), Qt::Uninitialized);
    auto* out = reinterpret_cast<float*>(bytes.data());
    for (qsizetype i = 0; i < frames; ++i) {
        out[i * channels] = first(i);
        for (int c = 1; c < channels; ++c)
            out[i * channels + c] = 0.9f;
    }
    return bytes;
}

// Stands in for the resampler: writes a counting pattern, records the room it was given.
struct ConverterScript
{
    qsizetype frames = 100; // frames written per buffer, or a negative error
    std::vector<qsizetype> capacities;
    qint16 next = 0;
};

class ScriptedConverter final : public AudioConverter
{
public:
    explicit ScriptedConverter(ConverterScript& script)
        : m_script(script)
    {}
    qsizetype convert(const AudioBuffer&, std::span<qint16> output) override
    {
        m_script.capacities.push_back(qsizetype(output.size()));
        const qsizetype frames = std::min(m_script.frames, qsizetype(output.size()));
        for (qsizetype i = 0; i < frames; ++i)
            output[size_t(i)] = m_script.next++;
        return frames;
    }

private:
    ConverterScript& m_script;
};

// Leaves a partial file where it was told to write and fails, as a full disk would.
class FailingEncoder final : public AudioFileEncoder
{
public:
    class Writer final : public AudioFileWriter
    {
    public:
        std::optional<PlatformError> append(QByteArrayView) override { return diskFull; }
        std::optional<PlatformError> finish() override { return diskFull; }
        const PlatformError diskFull{u"test"_s, 28, u"No space left on device"_s};
    };

    std::unique_ptr<AudioFileWriter> openAac(const QString& path) override
    {
        paths.push_back(path);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("partial");
        return std::make_unique<Writer>();
    }
    QStringList paths; // written on the encoder's worker, read once stop() has returned
};

class MicrophoneRecorderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    MicrophoneRecorder::Collaborators collaborators(AudioFileEncoder& encoder, bool realConverter)
    {
        AudioConverterFactory scripted = [this](const AudioFormat&) {
            return std::make_unique<ScriptedConverter>(script);
        };
        return {engine,
                realConverter ? AudioConverterFactory(&SwrAudioConverter::create) : scripted,
                encoder, scheduler, scheduler};
    }

    void deliverFloats(qsizetype frames, const std::function<float(qsizetype)>& first)
    {
        const QByteArray bytes = floatFrames(engine.format.channelCount, frames, first);
        engine.deliver({engine.format, bytes});
    }

    QString temporaryDirectory() const { return m_runtime.filePath(u"murmo"_s); }

    FakeScheduler scheduler;
    FakeAudioEngine engine;
    ConverterScript script;
    FailingEncoder failingEncoder;
    FfmpegAudioFileEncoder ffmpegEncoder;

private:
    QTemporaryDir m_runtime;
};

TEST_F(MicrophoneRecorderTest, CommonDeviceRatesGive16000SamplesPerSecond)
{
    for (const int rate : {44100, 48000}) {
        engine.format = {rate, 2, Sample::float32};
        MicrophoneRecorder recorder(collaborators(failingEncoder, true));
        ASSERT_FALSE(recorder.start());
        const int buffers = 3 * rate / MicrophoneRecorder::tapBufferFrames;
        for (int b = 0; b < buffers; ++b)
            deliverFloats(MicrophoneRecorder::tapBufferFrames, [&](qsizetype i) {
                const double t = double(b * MicrophoneRecorder::tapBufferFrames + i) / rate;
                return float(0.5 * std::sin(2 * std::numbers::pi * 440 * t));
            });
        const auto take = recorder.stop();
        ASSERT_TRUE(take);
        const double seconds = double(buffers) * MicrophoneRecorder::tapBufferFrames / rate;
        const auto samples = (take->data.size() - 44) / 2;
        // The resampler holds back a few samples of filter history, never more.
        EXPECT_NEAR(double(samples), 16000 * seconds, 32) << rate;
    }
}

TEST_F(MicrophoneRecorderTest, ConverterGetsRoomForOneBufferPlus64Frames)
{
    for (const auto& [rate, capacity] : {std::pair{48000, 1429}, {44100, 1550}, {16000, 4160}}) {
        engine.format = {rate, 1, Sample::float32};
        MicrophoneRecorder recorder(collaborators(failingEncoder, false));
        ASSERT_FALSE(recorder.start());
        EXPECT_EQ(engine.tapFrames, 4096);
        deliverFloats(4096, [](qsizetype) { return 0.f; });
        EXPECT_EQ(script.capacities.back(), capacity) << rate;
        recorder.cancel();
    }
}

TEST_F(MicrophoneRecorderTest, LevelFollowsTheFirstChannelOfTheLastConvertedBuffer)
{
    MicrophoneRecorder recorder(collaborators(failingEncoder, false));
    ASSERT_FALSE(recorder.start());
    const auto levelAfter = [&](AudioFormat format, QByteArray bytes, qsizetype converted) {
        script.frames = converted;
        engine.deliver({format, bytes});
        scheduler.advance(MicrophoneRecorder::levelInterval);
        return recorder.level();
    };
    const AudioFormat stereo{48000, 2, Sample::float32};
    const auto constant = [&](float value) {
        return floatFrames(2, 4096, [=](qsizetype) { return value; });
    };
    const QByteArray int16s(4096 * 4, '\x40');

    EXPECT_NEAR(levelAfter(stereo, constant(0.01f), 100), 0.18, 1e-6);
    EXPECT_EQ(levelAfter(stereo, constant(1.0f / 18), 100), 1.0);
    EXPECT_EQ(levelAfter(stereo, constant(0.7f), 100), 1.0);
    // Dropped buffers leave the level alone.
    EXPECT_EQ(levelAfter(stereo, constant(0.01f), 0), 1.0);
    EXPECT_EQ(levelAfter(stereo, constant(0.01f), -1), 1.0);
    EXPECT_EQ(levelAfter(stereo, QByteArray(), 100), 0.0);
    EXPECT_NEAR(levelAfter(stereo, constant(-0.01f), 100), 0.18, 1e-6);
    EXPECT_EQ(levelAfter({48000, 2, Sample::int16}, int16s, 100), 0.0);
}

TEST_F(MicrophoneRecorderTest, AnythingUpTo3200BytesIsNothingHeard)
{
    engine.format = {16000, 1, Sample::float32};
    MicrophoneRecorder recorder(collaborators(failingEncoder, false));
    for (const auto& [frames, heard] : {std::pair{1600, false}, {1601, true}, {0, false}}) {
        ASSERT_FALSE(recorder.start());
        script.frames = frames;
        deliverFloats(4096, [](qsizetype) { return 0.f; });
        const auto take = recorder.stop();
        EXPECT_EQ(take ? take->data.size() - 44 : 0, heard ? 2 * frames : 0) << frames;
    }
}

TEST_F(MicrophoneRecorderTest, FailedEncodingFallsBackToWavAndLeavesNoFile)
{
    MicrophoneRecorder recorder(collaborators(failingEncoder, false));
    engine.format = {16000, 1, Sample::float32};
    script.frames = 4000;
    ASSERT_FALSE(recorder.start());
    for (int b = 0; b < 4; ++b)
        deliverFloats(4096, [](qsizetype) { return 0.f; });
    const auto take = recorder.stop();
    ASSERT_TRUE(take);
    EXPECT_EQ(take->ext, u"wav"_s);

    const QByteArray& wav = take->data;
    ASSERT_EQ(wav.size(), 44 + 32000);
    // RIFF size 32036, fmt chunk of 16: PCM, mono, 16000 Hz, 32000 bytes/s, blocks of 2, 16 bits.
    const QByteArray header =
        QByteArray::fromHex("52494646247d000057415645666d742010000000"
                            "01000100803e0000007d00000200100064617461007d0000");
    EXPECT_EQ(wav.first(44).toHex(' ').toStdString(), header.toHex(' ').toStdString());
    // The samples follow as converted, in order.
    EXPECT_EQ(qFromLittleEndian<qint16>(wav.constData() + 44), 0);
    EXPECT_EQ(qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * 15999), 15999);

    ASSERT_EQ(failingEncoder.paths.size(), 1);
    const QString path = failingEncoder.paths.front();
    const QRegularExpression name(
        u"^murmo-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.m4a$"_s);
    EXPECT_TRUE(name.match(QFileInfo(path).fileName()).hasMatch()) << path.toStdString();
    EXPECT_EQ(QFileInfo(path).absolutePath(), temporaryDirectory());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QFile::permissions(temporaryDirectory()) & 0x0077, 0) << "readable by others";
}

TEST_F(MicrophoneRecorderTest, RealEncoderGivesCompleteM4aAndLeavesNoFile)
{
    MicrophoneRecorder recorder(collaborators(ffmpegEncoder, true));
    ASSERT_FALSE(recorder.start());
    for (int b = 0; b < 12; ++b)
        deliverFloats(4096, [](qsizetype i) { return float(0.3 * std::sin(i * 0.05)); });
    const auto take = recorder.stop();
    ASSERT_TRUE(take);
    EXPECT_EQ(take->ext, u"m4a"_s);
    EXPECT_EQ(take->data.sliced(4, 8), "ftypM4A ");
    EXPECT_TRUE(take->data.contains("moov")) << "the container was not finalised";
    EXPECT_EQ(QDir(temporaryDirectory()).entryList(QDir::Files), QStringList());
}

TEST_F(MicrophoneRecorderTest, AudioHandedOverAtStopIsKept)
{
    engine.format = {16000, 1, Sample::float32};
    MicrophoneRecorder recorder(collaborators(failingEncoder, true));
    ASSERT_FALSE(recorder.start());
    deliverFloats(4096, [](qsizetype) { return 0.1f; });
    // The last words: less than a buffer, handed over only as the engine stops.
    engine.tail = floatFrames(1, 1000, [](qsizetype) { return 0.1f; });
    const auto take = recorder.stop();
    ASSERT_TRUE(take);
    EXPECT_EQ((take->data.size() - 44) / 2, 4096 + 1000);
}

TEST_F(MicrophoneRecorderTest, StartWhileRecordingKeepsAudioAndTap)
{
    MicrophoneRecorder recorder(collaborators(failingEncoder, false));
    script.frames = 1000;
    ASSERT_FALSE(recorder.start());
    const auto startedAt = recorder.startedAt();
    EXPECT_EQ(startedAt, scheduler.now());
    deliverFloats(4096, [](qsizetype) { return 0.f; });
    scheduler.advance(1s);
    EXPECT_FALSE(recorder.start());
    deliverFloats(4096, [](qsizetype) { return 0.f; });

    EXPECT_EQ(engine.starts, 1);
    EXPECT_EQ(engine.tapsInstalledOverAnother, 0);
    EXPECT_EQ(recorder.startedAt(), startedAt);
    const auto take = recorder.stop();
    ASSERT_TRUE(take);
    EXPECT_EQ(take->data.size(), 44 + 4000);
}

TEST_F(MicrophoneRecorderTest, StopAndCancelEndCaptureAndTheLevelTimer)
{
    engine.format = {16000, 1, Sample::float32};
    MicrophoneRecorder recorder(collaborators(failingEncoder, false));
    QSignalSpy levels(&recorder, &MicrophoneRecorder::levelChanged);
    EXPECT_FALSE(recorder.stop());
    recorder.cancel();
    EXPECT_EQ(engine.starts, 0);

    for (const bool cancel : {false, true}) {
        script.frames = 2000;
        ASSERT_FALSE(recorder.start());
        EXPECT_TRUE(recorder.isRecording());
        // A new recording starts quiet, whatever the last one heard.
        scheduler.advance(MicrophoneRecorder::levelInterval);
        EXPECT_EQ(recorder.level(), 0.0);
        deliverFloats(4096, [](qsizetype) { return 0.02f; });
        scheduler.advance(MicrophoneRecorder::levelInterval);
        EXPECT_GT(recorder.level(), 0.3);

        if (cancel)
            recorder.cancel();
        else
            EXPECT_TRUE(recorder.stop());
        EXPECT_FALSE(recorder.isRecording());
        EXPECT_FALSE(engine.running);
        EXPECT_FALSE(engine.tap);
        EXPECT_EQ(recorder.level(), 0.0);
        EXPECT_EQ(scheduler.pendingCount(), 0u);
        EXPECT_EQ(QDir(temporaryDirectory()).entryList(QDir::Files), QStringList()) << cancel;
    }
    EXPECT_EQ(levels.count(), 4);

    // Cancelled audio is gone for good.
    ASSERT_FALSE(recorder.start());
    EXPECT_FALSE(recorder.stop());
}

TEST_F(MicrophoneRecorderTest, FailedStartLeavesNothingInstalled)
{
    const PlatformError busy{u"QAudioSource"_s, 1, u"The audio input could not be opened"_s};
    bool converterFails = false;
    AudioConverterFactory factory = [&](const AudioFormat&) -> std::unique_ptr<AudioConverter> {
        if (converterFails)
            return nullptr;
        return std::make_unique<ScriptedConverter>(script);
    };
    MicrophoneRecorder recorder({engine, factory, failingEncoder, scheduler, scheduler});
    const auto failure = [&](AudioFormat format, bool badConverter,
                             std::optional<PlatformError> engineError) {
        engine.format = format;
        converterFails = badConverter;
        engine.startError = engineError;
        const auto error = recorder.start();
        EXPECT_FALSE(recorder.isRecording());
        EXPECT_FALSE(engine.tap);
        EXPECT_EQ(scheduler.pendingCount(), 0u);
        return error ? std::tuple{error->domain, error->code, error->description}
                     : std::tuple<QString, int, QString>{};
    };
    const AudioFormat good{48000, 2, Sample::float32};

    using E = std::tuple<QString, int, QString>;
    EXPECT_EQ(failure({0, 2, Sample::float32}, false, {}),
              (E{u"Murmo"_s, 1, u"No microphone available"_s}));
    EXPECT_EQ(failure(good, true, {}), (E{u"Murmo"_s, 2, u"Audio converter failed"_s}));
    EXPECT_EQ(failure(good, false, busy), (E{busy.domain, busy.code, busy.description}));
    EXPECT_EQ(engine.starts, 1);

    // The next start installs its tap on a clean engine.
    engine.startError.reset();
    EXPECT_FALSE(recorder.start());
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(engine.tapsInstalledOverAnother, 0);
}

} // namespace
