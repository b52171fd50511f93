// Renders the status pill in each phase into PNG files, for people to look at:
//   scripts/with-desktop build/tests/integration/pill_screenshots OUTDIR
// Each picture is the pill's own rendering laid over a light and a dark desktop, enlarged.
#include "ui/LivePill.h"

#include "support/Screenshots.h"
#include "support/WaitUntil.h"
#include "support/XTestPointer.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <functional>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

constexpr int zoom = 3;

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s);
    if (!out.mkpath(u"."_s))
        return 1;

    LivePill pill;
    murmo::test::XTestPointer pointer;
    pointer.moveTo({0, 0});
    pill.show();
    murmo::test::waitUntil([&] { return pill.window().isExposed(); });

    ControllerHarness& dictation = pill.dictation;
    const std::pair<QString, std::function<void()>> shots[] = {
        {u"1-idle"_s, [] {}},
        {u"2-idle-hover"_s, [&] { pointer.moveTo(pill.capsuleCentre()); }},
        {u"3-recording"_s,
         [&] {
             pointer.moveTo({0, 0});
             pill.level = 0.7;
             dictation.startRecording();
         }},
        {u"4-processing"_s,
         [&] {
             dictation.time.advance(1s);
             dictation.keys.release();
         }},
        {u"5-done"_s, [&] { dictation.finishProcessing(); }},
        {u"6-notice-failure"_s,
         [&] {
             dictation.controller->showTransient(
                 Phase::notice(u"Murmo had a hiccup. Please try again."_s));
         }},
        {u"7-notice-warning"_s,
         [&] {
             dictation.controller->showTransient(Phase::notice(u"Secure field — not inserted"_s));
         }},
    };
    for (const auto& [name, reach] : shots) {
        reach();
        murmo::test::settle(800ms);
        const QString file = out.filePath(name + u".png"_s);
        if (!murmo::test::onDesktops(pill.window().grabWindow(), zoom).save(file))
            return 1;
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
