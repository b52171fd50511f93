#pragma once

#include "fakes/ApiClientHarness.h"
#include "fakes/ControllerHarness.h"
#include "fakes/FakeUserAccount.h"
#include "fakes/ScriptedHttpServer.h"
#include "platform/linux/IcuWordTokenizer.h"
#include "platform/linux/MultilingualTagger.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/SystemClock.h"
#include "stats/StatsEngine.h"
#include "ui/HomeWindow.h"
#include "ui/ViewHost.h"
#include "unit/history/HistoryHarness.h"

#include <QQuickWindow>
#include <QTemporaryDir>

#include <memory>

// The main window on the real desktop in real time, as the controller opens it: a history store
// on its file, the statistics engine with the real tagger and a cache file, a scripted backend on
// a loopback port, and a controller on fakes.
class LiveHome
{
public:
    explicit LiveHome(const QList<HistoryItem>& items)
    {
        if (!items.isEmpty())
            history.writeFile(HistoryHarness::document(items));
        history.open();
        backend.preferences.setToken(u"token"_s);
        account.name = u"Ada Lovelace"_s;
    }

    // Opens a window as showHome does, with the size and title the controller asks for.
    HomeWindow& open()
    {
        dictation.controller->showHome();
        window = std::make_unique<HomeWindow>(
            HomeWindow::Services{*dictation.controller, *history.store, backend.api,
                                 dictation.preferences, engine, clock, scheduler, account, views},
            dictation.windows.home->layout);
        window->present();
        return *window;
    }

    // A year of everyday dictations, newest first: mostly English, some Russian, from this
    // computer and the phone, more in the working hours. The same `seed` gives the same history.
    static QList<HistoryItem> dictations(int count, const QDateTime& now, quint32 seed = 7);

    ControllerHarness dictation;
    HistoryHarness history;
    ScriptedHttpServer server;
    ApiClientHarness backend{server.url()};
    QTemporaryDir cacheDirectory;
    IcuWordTokenizer tokenizer;
    MultilingualTagger tagger;
    StatsEngine engine{tokenizer, tagger, cacheDirectory.filePath(u"word-tags"_s)};
    SystemClock clock;
    QtScheduler scheduler;
    FakeUserAccount account;
    ViewHost views;
    std::unique_ptr<HomeWindow> window;
};
