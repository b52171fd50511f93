// Time from the recorder's start to the first buffer reaching its tap, and what the capture thread
// costs while recording, on a live microphone. Needs a sound server:
// scripts/with-desktop build/bench/recorder_start_latency
#include "recorder/LiveRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace std::chrono;
using namespace Qt::StringLiterals;
using murmo::test::LiveRecorder;

namespace {

constexpr int rounds = 30;

void spin(steady_clock::duration duration, const std::function<bool()>& done = {})
{
    const auto deadline = steady_clock::now() + duration;
    while ((!done || !done()) && steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
}

// Milliseconds from calling start until the first buffer arrived; negative on failure.
double measureOnce(LiveRecorder& live)
{
    const auto begin = steady_clock::now();
    if (const auto error = live.recorder.start()) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(error->description));
        return -1;
    }
    spin(seconds(10), [&] { return live.engine.buffers > 0; });
    const bool arrived = live.engine.buffers > 0;
    live.recorder.cancel();
    return arrived ? duration<double, std::milli>(live.engine.firstBufferAt.load() - begin).count()
                   : -1;
}

// Context switches and CPU ticks of the capture thread, found by its name.
struct ThreadUse
{
    long long switches = -1;
    long long ticks = 0;
};

ThreadUse captureThreadUse()
{
    ThreadUse use;
    const QDir tasks(u"/proc/self/task"_s);
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + u"/comm"_s));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "murmo-capture")
            continue;
        QFile status(tasks.filePath(tid + u"/status"_s));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                use.switches = line.split(':')[1].trimmed().toLongLong();
        }
        QFile stat(tasks.filePath(tid + u"/stat"_s));
        stat.open(QIODevice::ReadOnly);
        const QByteArray fields = stat.readAll();
        const auto after = fields.sliced(fields.lastIndexOf(')') + 2).split(' ');
        use.ticks = after[11].toLongLong() + after[12].toLongLong(); // utime, stime
    }
    return use;
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
    const double firstBufferMs = 1000.0 * double(live.engine.firstBufferFrames) / rate;
    std::printf("start to first captured buffer (%lld frames at %d Hz = %.1f ms of audio)\n",
                qint64(live.engine.firstBufferFrames), rate, firstBufferMs);
    std::printf("  first start on this sound server: %.1f ms\n", fresh);
    const double median = figures[figures.size() / 2];
    std::printf("  next %d starts: median %.1f ms, min %.1f ms, max %.1f ms\n", rounds, median,
                figures.front(), figures.back());
    // What the user loses at the start of a dictation is the gap before the first frame.
    std::printf("  capture begins about %.1f ms after start (median less the buffer's audio)\n",
                median - firstBufferMs);

    constexpr int recordSeconds = 5;
    if (live.recorder.start())
        return 1;
    const ThreadUse before = captureThreadUse();
    spin(seconds(recordSeconds));
    const ThreadUse after = captureThreadUse();
    live.recorder.cancel();
    std::printf("while recording, the capture thread: %.0f wake-ups a second, %.1f %% of a core\n",
                double(after.switches - before.switches) / recordSeconds,
                100.0 * double(after.ticks - before.ticks) / double(sysconf(_SC_CLK_TCK)) /
                    recordSeconds);
    return 0;
}
