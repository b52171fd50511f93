// Renders every onboarding screen into PNG files, for people to look at:
//   scripts/with-desktop build/tests/integration/onboarding_screenshots OUTDIR
// The window runs on fakes, so each screen is shown in a chosen state.
#include "fakes/ControllerHarness.h"
#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeMicrophoneAccess.h"
#include "fakes/FakeOnboardingRequests.h"
#include "support/Screenshots.h"
#include "support/WaitUntil.h"
#include "ui/OnboardingView.h"
#include "ui/ViewHost.h"

#include <QApplication>
#include <QDir>
#include <QQuickWindow>

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

    ControllerHarness dictation(false);
    FakeMicrophoneAccess microphone;
    microphone.authorized = false;
    FakeKeyEventMonitors keys;
    FakeOnboardingRequests backend(dictation.time);
    HistoryItem spoken;
    spoken.text = QStringList(45, u"word"_s).join(u' ');
    spoken.durationSec = 15;
    OnboardingModel model(dictation.controller.get(), {dictation.time,
                                                       dictation.preferences,
                                                       dictation.desktop,
                                                       microphone,
                                                       dictation.recorder,
                                                       keys,
                                                       backend,
                                                       [&] { return std::optional(spoken); },
                                                       {u"de-DE"_s, u"en-US"_s}});
    OnboardingView view(model,
                        {dictation.time, backend, [] { return 0.7; },
                         u"Holding a key needs the desktop's shortcut portal: set one in its "
                         u"keyboard settings."_s});
    ViewHost views;
    auto window =
        views.createWindow(u"OnboardingWindow"_s, {{u"onboarding"_s, QVariant::fromValue(&view)},
                                                   {u"contentSize"_s, QSize(1200, 764)}});
    window->show();
    murmo::test::waitUntil([&] { return window->isExposed(); });

    const auto ticks = [&] {
        for (int i = 0; i < 10; ++i) {
            dictation.time.advance(OnboardingView::levelStep);
            murmo::test::settle(30ms);
        }
    };
    struct Shot
    {
        QString name;
        bool next; // reached by "Continue"
        std::function<void()> reach;
    };
    const Shot shots[] = {
        {u"01-welcome"_s, false, [] { murmo::test::settle(4000ms); }},
        {u"02-source"_s, true, [&] { model.chooseSource(u"Podcast"_s); }},
        {u"03-about"_s, true, [&] { model.chooseRole(u"Developer"_s); }},
        {u"04-typing"_s, true,
         [&] {
             model.toggleContext(u"Emails"_s);
             model.toggleContext(u"Coding with AI"_s);
         }},
        {u"05-data"_s, true, [] {}},
        {u"06-perms"_s, true, [] {}},
        {u"06b-perms-granted"_s, false,
         [&] {
             microphone.authorized = true;
             dictation.time.advance(1s);
         }},
        {u"07-micTest"_s, true, ticks},
        {u"08-shortcut"_s, true,
         [&] {
             keys.send(KeyEventMonitors::Scope::local, KeyEventMonitors::Kind::flagsChanged,
                       {54, 0x100000, {}});
             ticks();
         }},
        {u"09-languages"_s, true,
         [&] {
             keys.send(KeyEventMonitors::Scope::local, KeyEventMonitors::Kind::flagsChanged,
                       {54, 0, {}});
         }},
        {u"09b-language-picker"_s, false,
         [&] {
             view.openLanguages();
             view.languagePicker()->toggle(u"ru"_s);
             view.languagePicker()->setQuery(u"ru"_s);
         }},
        {u"10-learn"_s, true, [&] { view.languagePicker()->dismiss(); }},
        {u"10b-learn-done"_s, false,
         [&] { model.setLearnText(u"Sure — the launch update goes out this afternoon."_s); }},
        {u"11-hours"_s, true, [] {}},
        {u"12-nicejob"_s, true, [] {}},
        {u"13-invite"_s, true, [] {}},
        {u"13b-invite-sent"_s, false,
         [&] {
             view.invite()->setEmail(u" Ann@Example.com"_s);
             view.invite()->send();
             dictation.time.advance(1s);
         }},
        {u"13c-invite-failed"_s, false,
         [&] {
             backend.results = {InviteResult::failed};
             view.invite()->setEmail(u"bob@example.com"_s);
             view.invite()->send();
             dictation.time.advance(1s);
         }},
    };
    for (const auto& [name, next, reach] : shots) {
        if (next)
            model.advance();
        reach();
        murmo::test::settle(700ms);
        const QString file = out.filePath(name + u".png"_s);
        if (!window->grabWindow().save(file))
            return 1;
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
