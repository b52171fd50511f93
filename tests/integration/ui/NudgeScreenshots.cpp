// Renders the typing nudge's card into PNG files, for people to look at:
//   scripts/with-desktop build/tests/integration/nudge_screenshots OUTDIR
// Each picture is the panel's own rendering laid over a light and a dark desktop, enlarged.
#include "ui/LiveNudge.h"

#include "support/Screenshots.h"
#include "support/WaitUntil.h"
#include "support/XTestPointer.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <functional>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s);
    if (!out.mkpath(u"."_s))
        return 1;

    LiveNudge live;
    murmo::test::XTestPointer pointer;
    pointer.moveTo({0, 0});
    live.dictation.controller->setHotkey(Hotkey::rightOption);
    live.nudge.show();
    live.time.runDue();
    murmo::test::waitUntil([&] { return live.card() && live.card()->isExposed(); });

    // The ring drains in real time; the seconds follow the virtual clock.
    const std::pair<QString, std::function<void()>> shots[] = {
        {u"1-card"_s, [] { murmo::test::settle(400ms); }},
        {u"2-two-seconds-later"_s,
         [&] {
             murmo::test::settle(2000ms);
             live.time.advance(2s);
         }},
        {u"3-dismiss-hover"_s,
         [&] {
             // The countdown button sits at the card's right end.
             QQuickWindow& window = *live.card();
             pointer.moveTo(window.position() +
                            QPoint(window.width() - 24 - 16 - 15, window.height() / 2));
             murmo::test::settle(1000ms);
         }},
        // Grabbed at once, before the fade has visibly begun.
        {u"4-cross"_s, [&] { live.time.advance(3s); }},
    };
    for (const auto& [name, reach] : shots) {
        reach();
        const QString file = out.filePath(name + u".png"_s);
        if (!murmo::test::onDesktops(live.card()->grabWindow(), 2).save(file))
            return 1;
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
