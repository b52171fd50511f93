// Snapshot and restore of a clipboard holding a 5 MB image owned by another client: how long our
// side takes, and the longest the main thread goes without turning its event loop meanwhile.
// Needs a display: scripts/with-desktop build/bench/pasteboard_bench
#include "platform/linux/QtScheduler.h"
#include "platform/linux/X11Pasteboard.h"
#include "support/TestDesktop.h"
#include "support/WaitUntil.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using murmo::test::TestDesktop;
using murmo::test::waitUntil;

namespace {

constexpr int rounds = 20;
constexpr qsizetype imageSize = 5 * 1024 * 1024;

struct Figures
{
    std::vector<double> snapshot;
    std::vector<double> snapshotCpu;
    std::vector<double> restore;
    std::vector<double> stall;
};

double ms(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Processor time the calling thread has used, in milliseconds.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs `owner` until it owns the clipboard, snapshots and restores it, and checks the result.
bool measureOnce(X11Pasteboard& pasteboard, QProcess& owner, const QByteArray& image,
                 Figures& figures)
{
    TestDesktop desktop;
    desktop.clearClipboard();
    owner.start();
    if (!waitUntil([&] { return desktop.clipboardHasOwner(); }))
        return false;

    // The longest gap between turns of the event loop while the snapshot runs, beyond the 1 ms
    // a timer waits by itself.
    QElapsedTimer sinceTick;
    double stall = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        stall = std::max(stall, ms(sinceTick) - 1.0);
        sinceTick.start();
    });

    sinceTick.start();
    tick.start(1);
    std::optional<PasteboardItem> snapshot;
    double wall = 0;
    double cpu = 0;
    [](X11Pasteboard& pasteboard, std::optional<PasteboardItem>& out, double& wall,
       double& cpu) -> QCoro::Task<> {
        const double cpuBefore = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        out = co_await pasteboard.snapshot();
        wall = ms(timer);
        cpu = threadCpuMs() - cpuBefore;
    }(pasteboard, snapshot, wall, cpu);
    waitUntil([&] { return snapshot.has_value(); });
    figures.snapshot.push_back(wall);
    figures.snapshotCpu.push_back(cpu);
    tick.stop();
    figures.stall.push_back(std::max(stall, ms(sinceTick) - 1.0));

    QElapsedTimer timer;
    timer.start();
    pasteboard.setItem(*snapshot);
    figures.restore.push_back(ms(timer));

    owner.kill();
    owner.waitForFinished();
    const bool intact = snapshot->bytes(QStringLiteral("image/png")) == image &&
                        TestDesktop::readClipboard("image/png") == image;
    if (!intact)
        std::fprintf(stderr, "the image did not come back intact\n");
    return intact;
}

void print(const char* what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("  %-34s median %7.2f ms   min %7.2f ms   max %7.2f ms\n", what,
                values[values.size() / 2], values.front(), values.back());
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QByteArray image(imageSize, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(image.data()), image.size() / 4);
    QFile file(dir.filePath(QStringLiteral("image.png")));
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        return 1;
    file.close();

    QtScheduler scheduler;
    X11Pasteboard pasteboard(scheduler);
    // xclip hands large data over incrementally, a chunk per round trip: the most steps for us.
    QProcess xclip;
    xclip.setProgram(QStringLiteral("xclip"));
    xclip.setArguments({QStringLiteral("-selection"), QStringLiteral("clipboard"),
                        QStringLiteral("-t"), QStringLiteral("image/png"), QStringLiteral("-quiet"),
                        QStringLiteral("-i"), file.fileName()});
    xclip.setStandardOutputFile(QProcess::nullDevice());

    QFile loadavg(QStringLiteral("/proc/loadavg"));
    loadavg.open(QIODevice::ReadOnly);
    std::printf("clipboard snapshot + restore, 5 MB image owned by xclip, %d rounds "
                "(load average %s)\n",
                rounds, loadavg.readAll().split(' ').first().constData());
    Figures figures;
    for (int i = 0; i < rounds; ++i) {
        if (!measureOnce(pasteboard, xclip, image, figures)) {
            std::fprintf(stderr, "round %d failed\n", i);
            return 1;
        }
    }
    print("snapshot, wall (owner serving too)", figures.snapshot);
    print("snapshot, our main thread's CPU", figures.snapshotCpu);
    print("restore (main thread)", figures.restore);
    print("longest main-thread stall", figures.stall);
    std::printf("per-format bound: %lld ms\n",
                static_cast<long long>(X11Pasteboard::formatLimits.time.count()));
    return 0;
}
