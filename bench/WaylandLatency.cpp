// What a Wayland session adds to a dictation, under a headless sway:
//   scripts/with-sway build/bench/wayland_latency
// The hold key through sway's bindings (key down or up until the running Murmo hears
// `murmo --hold-begin` or `murmo --hold-end`), insertion into a native Wayland window (snapshot,
// the clipboard, the paste pause, the virtual keyboard's Ctrl+V, until the window shows the text)
// and the clipboard snapshot of another client's image and caption, through data-control.
#include "app/SingleInstance.h"
#include "core/ClipboardInserter.h"
#include "fakes/FakeDesktop.h"
#include "platform/linux/QtScheduler.h"
#include "platform/wayland/DataControlPasteboard.h"
#include "platform/wayland/VirtualKeyboard.h"
#include "platform/wayland/WaylandConnection.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QThread>

#include <QCoroTask>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace std::chrono;
using namespace Qt::StringLiterals;

namespace {

constexpr int rounds = 20;

bool spin(const std::function<bool()>& done, steady_clock::duration limit = seconds(20))
{
    const auto deadline = steady_clock::now() + limit;
    while (!done()) {
        if (steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
    return true;
}

template<class T>
std::optional<T> await(QCoro::Task<T> task)
{
    std::optional<T> result;
    [](QCoro::Task<T> task, std::optional<T>& result) -> QCoro::Task<> {
        result = co_await std::move(task);
    }(std::move(task), result);
    spin([&] { return result.has_value(); });
    return result;
}

void print(const char* what, std::vector<double> figures)
{
    std::sort(figures.begin(), figures.end());
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu rounds)\n", what,
                figures[figures.size() / 2], figures.front(), figures.back(), figures.size());
}

double since(steady_clock::time_point begin)
{
    return duration<double, std::milli>(steady_clock::now() - begin).count();
}

// Key down until the running Murmo hears the hold begin, and key up until it hears the end.
// `command` runs with "begin" or "end" for %1, "Begin" or "End" for %2.
bool measureHolds(VirtualKeyboard& keyboard, const QString& command, std::vector<double>& begins,
                  std::vector<double>& ends)
{
    SingleInstance running(QDBusConnection::sessionBus());
    if (!running.claim())
        return false;
    steady_clock::time_point began;
    steady_clock::time_point ended;
    QObject::connect(&running, &SingleInstance::holdBeginRequested,
                     [&] { began = steady_clock::now(); });
    QObject::connect(&running, &SingleInstance::holdEndRequested,
                     [&] { ended = steady_clock::now(); });
    for (const auto& [binding, end] : {std::pair{u"bindsym --no-repeat F9 exec "_s, u"Begin"_s},
                                       std::pair{u"bindsym --release F9 exec "_s, u"End"_s}}) {
        if (QProcess::execute(u"swaymsg"_s, {u"-q"_s, binding + QString(command)
                                                                    .replace(u"%1"_s, end.toLower())
                                                                    .replace(u"%2"_s, end)}) != 0)
            return false;
    }
    constexpr int f9 = 101;
    for (int round = 0; round < rounds; ++round) {
        auto key = keyboard.makeKeystroke(f9, 0);
        const auto down = steady_clock::now();
        key->postKeyDown();
        if (!spin([&] { return began > down; }))
            return false;
        begins.push_back(duration<double, std::milli>(began - down).count());
        const auto up = steady_clock::now();
        key->postKeyUp();
        if (!spin([&] { return ended > up; }))
            return false;
        ends.push_back(duration<double, std::milli>(ended - up).count());
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString problem;
    const auto connection = WaylandConnection::connect(&problem);
    const auto elsewhere = WaylandConnection::connect();
    if (!connection || !elsewhere || !connection->dataControl() || !connection->virtualKeyboard()) {
        std::fprintf(stderr, "needs a compositor with data-control and virtual keyboards: %s\n",
                     qPrintable(problem));
        return 1;
    }
    QtScheduler scheduler;
    DataControlPasteboard pasteboard(*connection, scheduler);
    DataControlPasteboard otherApplication(*elsewhere, scheduler);
    VirtualKeyboard keyboard(*connection);
    FakeDesktop desktop;
    ClipboardInserter inserter(scheduler, desktop, pasteboard, keyboard);

    QProcess target;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    target.setProcessEnvironment(environment);
    target.start(QStringLiteral(PASTE_TARGET), {u"line-edit"_s});
    QByteArray shown;
    QObject::connect(&target, &QProcess::readyReadStandardOutput,
                     [&] { shown += target.readAllStandardOutput(); });
    if (!spin([&] { return shown.contains("ready\n"); })) {
        std::fprintf(stderr, "the target window did not get the keyboard\n");
        return 1;
    }

    QByteArray image("\x89PNG\r\n\x1a\n", 8);
    image.append(QByteArray(200 * 1024, 'x'));

    std::vector<double> snapshots;
    std::vector<double> insertions;
    for (int round = 0; round < rounds; ++round) {
        // A caption of its own each round: the clipboard is the other client's, not our restore.
        const QString caption = u"caption %1"_s.arg(round);
        otherApplication.setItem({{{u"image/png"_s, image}, {u"text/plain"_s, caption.toUtf8()}}});
        spin([&] { return await(pasteboard.plainText()) == caption; });
        auto begin = steady_clock::now();
        const auto snapshot = await(pasteboard.snapshot());
        snapshots.push_back(since(begin));
        if (!snapshot || snapshot->formats.size() < 2) {
            std::fprintf(stderr, "the snapshot missed formats\n");
            return 1;
        }

        const QString text = u"round %1 "_s.arg(round);
        begin = steady_clock::now();
        await(inserter.insertText(text, {}));
        if (!spin([&] { return shown.endsWith(text.toUtf8() + '\n'); })) {
            std::fprintf(stderr, "round %d: the text did not arrive\n", round);
            return 1;
        }
        insertions.push_back(since(begin));
        // Past the restore, so that rounds do not overlap.
        spin([] { return false; }, ClipboardInserter::restoreDelay + milliseconds(200));
    }
    target.kill();
    target.waitForFinished();

    // Through Murmo's own command line, and through the session bus's own tool.
    const QString murmo = QStringLiteral(MURMO_PROGRAM) + u" --hold-%1"_s;
    const QString dbusSend =
        u"dbus-send --session --type=method_call --dest=org.murmo.Murmo /org/murmo/Murmo "
        u"org.murmo.Murmo.Hold%2"_s;
    for (const auto& [name, command] :
         {std::pair{"murmo --hold-begin/--hold-end", murmo}, std::pair{"dbus-send", dbusSend}}) {
        std::vector<double> begins;
        std::vector<double> ends;
        if (!measureHolds(keyboard, command, begins, ends)) {
            std::fprintf(stderr, "%s did not reach the running Murmo\n", name);
            return 1;
        }
        std::printf("sway binding with %s:\n", name);
        print("  key down until the running Murmo begins the hold", begins);
        print("  key up until it ends the hold", ends);
    }
    print("snapshot of a 200 KiB image and its caption", snapshots);
    print("insertion until the Wayland window shows the text", insertions);
    std::printf("  of which fixed: the %lld ms pause before the paste and the %lld ms key hold\n",
                qint64(ClipboardInserter::pasteDelay.count()),
                qint64(ClipboardInserter::keyHold.count()));
    return 0;
}
