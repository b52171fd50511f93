// CPU the status pill costs the process: idle (the 1 s position poll, nothing moving) and while
// recording (the 20 Hz wave redrawn). Needs a display:
//   scripts/with-desktop build/bench/pill_cpu_bench [IDLE_SECONDS] [RECORDING_SECONDS]
#include "ui/LivePill.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Runs the event loop for `seconds` of wall time and returns the share of one core the
// process used meanwhile, in percent.
double cpuPercentOver(int seconds)
{
    const double before = cpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(std::chrono::seconds(seconds), &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuSeconds() - before) / seconds * 100;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int recordingSeconds = argc > 2 ? std::atoi(argv[2]) : 60;

    LivePill pill;
    pill.show();
    int frames = 0;
    QObject::connect(&pill.window(), &QQuickWindow::frameSwapped, [&] { ++frames; });
    cpuPercentOver(3); // first frames, shader and glyph caches

    frames = 0;
    const double idle = cpuPercentOver(idleSeconds);
    std::printf("idle pill: %.3f %% of one core over %d s, %d frames drawn\n", idle, idleSeconds,
                frames);

    pill.dictation.startRecording();
    frames = 0;
    const double recording = cpuPercentOver(recordingSeconds);
    std::printf("recording: %.2f %% of one core over %d s, %.1f frames a second\n", recording,
                recordingSeconds, double(frames) / recordingSeconds);
    return 0;
}
