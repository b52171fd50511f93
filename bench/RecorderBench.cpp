#include "fakes/FakeAudioEngine.h"
#include "fakes/FakeScheduler.h"
#include "input/MicrophoneRecorder.h"
#include "platform/linux/FfmpegAudioFileEncoder.h"
#include "platform/linux/SwrAudioConverter.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <random>
#include <thread>

namespace {

constexpr int deviceRate = 48000;
constexpr double bufferSeconds = double(MicrophoneRecorder::tapBufferFrames) / deviceRate;

// Tap buffers of 48 kHz stereo float: a voiced tone under noise, so the encoder has work.
QByteArray deviceAudio(int frames)
{
    std::minstd_rand noise(7);
    std::uniform_real_distribution<float> spread(-0.05f, 0.05f);
    QByteArray bytes(frames * 2 * qsizetype(sizeof(float)), Qt::Uninitialized);
    auto* samples = reinterpret_cast<float*>(bytes.data());
    for (int i = 0; i < frames; ++i) {
        const float value = 0.3f * float(std::sin(i * 0.06)) + spread(noise);
        samples[2 * i] = value;
        samples[2 * i + 1] = value;
    }
    return bytes;
}

// The real encoder, counting the bytes it has encoded.
class CountingEncoder final : public AudioFileEncoder
{
public:
    std::unique_ptr<AudioFileWriter> openAac(const QString& path) override
    {
        return std::make_unique<Writer>(m_encoder.openAac(path), appended);
    }

    std::atomic<qint64> appended{0};

private:
    class Writer final : public AudioFileWriter
    {
    public:
        Writer(std::unique_ptr<AudioFileWriter> writer, std::atomic<qint64>& appended)
            : m_writer(std::move(writer))
            , m_appended(appended)
        {}
        std::optional<PlatformError> append(QByteArrayView pcm) override
        {
            auto error = m_writer->append(pcm);
            m_appended += pcm.size();
            return error;
        }
        std::optional<PlatformError> finish() override { return m_writer->finish(); }

    private:
        std::unique_ptr<AudioFileWriter> m_writer;
        std::atomic<qint64>& m_appended;
    };

    FfmpegAudioFileEncoder m_encoder;
};

// A recorder fed by hand, with the real converter and encoder, writing into a private runtime
// directory.
struct BenchRecorder
{
    BenchRecorder() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())); }

    void feed(int buffers)
    {
        for (int b = 0; b < buffers; ++b)
            engine.deliver({engine.format, buffer});
    }

    // During a real recording the encoder's worker keeps up with the audio as it arrives; here
    // the audio comes all at once, so wait until the worker has it (within the resampler's
    // carry-over of a few samples).
    void waitForEncoder(int buffers)
    {
        const qint64 converted = 2 * (qint64(buffers) * MicrophoneRecorder::tapBufferFrames *
                                          AudioConverter::targetRate / deviceRate -
                                      64);
        while (encoder.appended < converted)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    QTemporaryDir runtime;
    FakeScheduler scheduler;
    FakeAudioEngine engine;
    CountingEncoder encoder;
    MicrophoneRecorder recorder{
        {engine, &SwrAudioConverter::create, encoder, scheduler, scheduler}};
    const QByteArray buffer = deviceAudio(MicrophoneRecorder::tapBufferFrames);
};

// Key release to the file in hand, for a recording of the given seconds. The last buffer arrives
// just before the release and a partial one with it, as from the live engine. Time is the wait;
// CPU is what stop costs the main thread.
void BM_ReleaseToTake(benchmark::State& state)
{
    BenchRecorder bench;
    bench.engine.tail = deviceAudio(MicrophoneRecorder::tapBufferFrames / 2);
    const int buffers = int(double(state.range(0)) / bufferSeconds);
    for (auto _ : state) {
        state.PauseTiming();
        benchmark::DoNotOptimize(bench.recorder.start());
        bench.encoder.appended = 0;
        bench.feed(buffers - 1);
        bench.waitForEncoder(buffers - 1);
        bench.feed(1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(bench.recorder.stop());
    }
}
// A fixed count: each iteration first records (and encodes) the whole take, untimed.
BENCHMARK(BM_ReleaseToTake)
    ->Arg(5)
    ->Arg(30)
    ->Arg(120)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The capture thread's work per 4096-frame buffer (85 ms of audio): convert, measure the level,
// store. The encoder's worker runs beside it.
void BM_TapHandler(benchmark::State& state)
{
    BenchRecorder bench;
    benchmark::DoNotOptimize(bench.recorder.start());
    int sinceRestart = 0;
    for (auto _ : state) {
        bench.feed(1);
        // Keep the recording a realistic length, not hours.
        if (++sinceRestart == 1400) {
            state.PauseTiming();
            bench.recorder.cancel();
            benchmark::DoNotOptimize(bench.recorder.start());
            sinceRestart = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TapHandler)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
