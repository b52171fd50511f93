#include "fakes/FakeAudioEngine.h"
#include "fakes/FakeScheduler.h"
#include "input/MicrophoneRecorder.h"
#include "platform/linux/FfmpegAudioFileEncoder.h"
#include "platform/linux/SwrAudioConverter.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

constexpr int deviceRate = 48000;
constexpr double bufferSeconds = double(MicrophoneRecorder::tapBufferFrames) / deviceRate;

// One tap buffer of 48 kHz stereo float: a voiced tone under noise, so the encoder has work.
QByteArray deviceBuffer()
{
    std::minstd_rand noise(7);
    std::uniform_real_distribution<float> spread(-0.05f, 0.05f);
    QByteArray bytes(MicrophoneRecorder::tapBufferFrames * 2 * qsizetype(sizeof(float)),
                     Qt::Uninitialized);
    auto* samples = reinterpret_cast<float*>(bytes.data());
    for (int i = 0; i < MicrophoneRecorder::tapBufferFrames; ++i) {
        const float value = 0.3f * float(std::sin(i * 0.06)) + spread(noise);
        samples[2 * i] = value;
        samples[2 * i + 1] = value;
    }
    return bytes;
}

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

    QTemporaryDir runtime;
    FakeScheduler scheduler;
    FakeAudioEngine engine;
    FfmpegAudioFileEncoder encoder;
    MicrophoneRecorder recorder{
        {engine, &SwrAudioConverter::create, encoder, scheduler, scheduler}};
    const QByteArray buffer = deviceBuffer();
};

// Releasing the key to having the file: stop, encode to AAC, read back. The counter is seconds
// of audio per second of work, i.e. how many times faster than real time.
void BM_StopToTake(benchmark::State& state)
{
    BenchRecorder bench;
    const int buffers = int(double(state.range(0)) / bufferSeconds);
    for (auto _ : state) {
        state.PauseTiming();
        benchmark::DoNotOptimize(bench.recorder.start());
        bench.feed(buffers);
        state.ResumeTiming();
        benchmark::DoNotOptimize(bench.recorder.stop());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        double(buffers) * bufferSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StopToTake)->Arg(5)->Arg(30)->Arg(120)->Unit(benchmark::kMillisecond)->UseRealTime();

// The capture thread's work per 4096-frame buffer (85 ms of audio): convert, measure the level,
// store.
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
