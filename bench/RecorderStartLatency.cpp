// Time from the recorder's start to the first 4096-frame buffer reaching its tap, on a live
// microphone. Needs a sound server: scripts/with-desktop build/bench/recorder_start_latency
#include "recorder/LiveRecorder.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace std::chrono;
using murmo::test::LiveRecorder;

namespace {

constexpr int rounds = 30;

// Milliseconds from calling start until the first buffer arrived; negative on failure.
double measureOnce(LiveRecorder& live)
{
    const auto begin = steady_clock::now();
    if (const auto error = live.recorder.start()) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(error->description));
        return -1;
    }
    const auto deadline = begin + seconds(10);
    while (live.engine.buffers == 0 && steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
    const bool arrived = live.engine.buffers > 0;
    live.recorder.cancel();
    return arrived ? duration<double, std::milli>(live.engine.firstBufferAt.load() - begin).count()
                   : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    LiveRecorder live;
    const double fresh = measureOnce(live);
    std::vector<double> figures;
    for (int i = 0; i < rounds; ++i) {
        const double ms = measureOnce(live);
        if (ms < 0)
            return 1;
        figures.push_back(ms);
    }
    std::sort(figures.begin(), figures.end());
    const int rate = live.audio.inputFormat().sampleRate;
    std::printf("start to first captured buffer (%d frames at %d Hz = %.1f ms of audio)\n",
                MicrophoneRecorder::tapBufferFrames, rate,
                1000.0 * MicrophoneRecorder::tapBufferFrames / rate);
    std::printf("  first start on this sound server: %.1f ms\n", fresh);
    const double median = figures[figures.size() / 2];
    std::printf("  next %d starts: median %.1f ms, min %.1f ms, max %.1f ms\n", rounds, median,
                figures.front(), figures.back());
    // What the user loses at the start of a dictation is the gap before the first frame.
    std::printf("  capture begins about %.1f ms after start (median less the buffer's audio)\n",
                median - 1000.0 * MicrophoneRecorder::tapBufferFrames / rate);
    return 0;
}
