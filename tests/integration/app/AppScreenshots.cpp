// Renders the tray menu and the history window into PNG files, for people to look at:
//   scripts/with-desktop build/tests/integration/app_screenshots OUTDIR
// The menu is the tray's own, for a controller that has just dictated; the history window shows
// a few records, one of them just copied.
#include "app/Autostart.h"
#include "app/HistoryScene.h"
#include "app/MenuContent.h"
#include "app/TrayIcon.h"
#include "fakes/ControllerHarness.h"
#include "fakes/FakeCloudDatabase.h"
#include "history/HistoryStore.h"
#include "history/HistoryTime.h"
#include "support/Screenshots.h"
#include "ui/HistoryWindowModel.h"
#include "ui/ViewHost.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <cstdio>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

bool save(const QImage& image, const QDir& out, const QString& name)
{
    const QString file = out.filePath(name + u".png"_s);
    if (!image.save(file))
        return false;
    std::printf("%s\n", qPrintable(file));
    return true;
}

HistoryItem record(const QString& text, const QDateTime& when, std::optional<QString> category)
{
    HistoryItem item;
    item.id = QUuid::createUuid();
    item.text = text;
    item.raw = text.toLower();
    item.createdAt = HistoryTime::fromTimePoint(
        Clock::TimePoint(std::chrono::milliseconds(when.toMSecsSinceEpoch())));
    item.category = std::move(category);
    item.durationSec = 4.2;
    item.device = u"mac"_s;
    return item;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s);
    if (!out.mkpath(u"."_s))
        return 1;
    QTemporaryDir home;

    // The tray menu after a dictation: "Copy last transcript" is on.
    ControllerHarness dictation;
    dictation.startProcessing();
    dictation.finishProcessing();
    Autostart autostart(home.filePath(u"murmo.desktop"_s), u"murmo"_s);
    MenuContent content(*dictation.controller, dictation.preferences, autostart);
    TrayIcon tray(content, [] {});
    tray.menu().popup({40, 40});
    murmo::test::settle(500ms);
    if (!save(tray.menu().grab().toImage(), out, u"tray-menu"_s))
        return 1;
    tray.menu().hide();

    // The history window with a few days of dictations.
    FakeCloudDatabase cloud(dictation.time);
    HistoryStore store({dictation.time, dictation.time, dictation.preferences, cloud,
                        home.filePath(u"history.json"_s), home.path()});
    const QDateTime now = QDateTime::currentDateTime();
    store.prepend(record(u"Remind me to book the train tickets for the conference in March."_s,
                         now.addDays(-2), u"todo"_s));
    store.prepend(record(u"Thanks for the quick review, I'll merge it after lunch."_s,
                         now.addDays(-1), u"message"_s));
    store.prepend(record(u"The quarterly report goes to the finance team before Friday."_s,
                         now.addSecs(-3600), std::nullopt));
    store.prepend(record(u"Let's move the stand-up to ten tomorrow, the design review runs "
                         "long."_s,
                         now.addSecs(-300), u"message"_s));
    ViewHost views;
    HistoryScene history(views, store, dictation.pasteboard, dictation.time);
    history.show();
    QQuickWindow* window = nullptr;
    for (QWindow* candidate : QGuiApplication::topLevelWindows()) {
        if (candidate->title() == u"Murmo History"_s)
            window = qobject_cast<QQuickWindow*>(candidate);
    }
    if (!window)
        return 1;
    murmo::test::settle(800ms);
    // The second record was just clicked.
    if (auto* model =
            qobject_cast<HistoryWindowModel*>(window->property("history").value<QObject*>()))
        model->copy(1);
    murmo::test::settle(300ms);
    return save(window->grabWindow(), out, u"history"_s) ? 0 : 1;
}
