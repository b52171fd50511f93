#include "api/BackendOrigin.h"
#include "app/CommandLine.h"
#include "app/Installation.h"
#include "app/MurmoApp.h"
#include "app/QuitOnSignals.h"
#include "app/SingleInstance.h"
#include "net/NetworkAddress.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/linux/XcbConnection.h"
#include "platform/wayland/WaylandServices.h"
#include "preferences/Preferences.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// murmo-backend to run when the backend is the built-in one on this computer; empty when the
// user points Murmo at a backend of their own, or when none is installed.
QString embeddedBackend(const QUrl& backend)
{
    const auto builtIn = BackendOrigin::parse(BackendOrigin::builtIn());
    const bool isBuiltIn =
        std::holds_alternative<QUrl>(builtIn) && std::get<QUrl>(builtIn) == backend;
    if (!isBuiltIn || backend.scheme() != u"http"_s ||
        !NetworkAddress::isLoopbackHost(backend.host()))
        return {};
    return Installation::backendProgram();
}

// A key binding's request, for the Murmo that runs; the exit code.
int sendToRunningMurmo(int argc, char** argv, SingleInstance::Request request)
{
    QCoreApplication app(argc, argv);
    if (SingleInstance::handOver(QDBusConnection::sessionBus(), request))
        return 0;
    print(stderr, u"murmo: Murmo is not running, or does not answer. Start Murmo first.\n"_s);
    return 1;
}

int diagnose(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    JsonPreferencesStore store(JsonPreferencesStore::defaultFilePath());
    const Preferences preferences(store);
    print(stdout, WaylandServices::probe(QDBusConnection::sessionBus(), preferences.readKeyboards())
                      .report());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = CommandLine::parse(arguments);
    switch (line.action) {
    case CommandLine::Action::help:
        print(stdout, CommandLine::helpText());
        return 0;
    case CommandLine::Action::version:
        print(stdout, u"Murmo " MURMO_VERSION "\n"_s);
        return 0;
    case CommandLine::Action::invalid:
        print(stderr, u"murmo: "_s + line.problem + u"\n\n"_s + CommandLine::helpText());
        return 2;
    case CommandLine::Action::holdBegin:
        return sendToRunningMurmo(argc, argv, SingleInstance::Request::holdBegin);
    case CommandLine::Action::holdEnd:
        return sendToRunningMurmo(argc, argv, SingleInstance::Request::holdEnd);
    case CommandLine::Action::toggle:
        return sendToRunningMurmo(argc, argv, SingleInstance::Request::toggle);
    case CommandLine::Action::diagnose:
        return diagnose(argc, argv);
    case CommandLine::Action::run:
    case CommandLine::Action::showHistory:
        break;
    }

    // Qt aborts without a display; say what is missing instead.
    if (const auto problem = XcbConnection::displayProblem()) {
        print(stderr, u"murmo: "_s + *problem + u'\n');
        return 1;
    }
    const auto origin = BackendOrigin::configured();
    if (const auto* refused = std::get_if<QString>(&origin)) {
        print(stderr,
              u"murmo: "_s + *refused + u" Set MURMO_BACKEND_URL to another address."_s + u'\n');
        return 1;
    }
    const QUrl backend = std::get<QUrl>(origin);

    // Murmo's windows and its X11 services live on the X server, XWayland in a Wayland session:
    // there the floating panels can place themselves and stay on top. Sessions often ask Qt
    // programs for Wayland; another choice (offscreen, say) is the user's to make.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform.contains("wayland"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Murmo"_s);
    QApplication::setApplicationVersion(QString::fromUtf8(MURMO_VERSION));
    QApplication::setDesktopFileName(u"org.murmo.Murmo"_s);
    // A tray utility: closing its windows never ends it, only "Quit Murmo" does.
    QApplication::setQuitOnLastWindowClosed(false);

    const bool wantsHistory = line.action == CommandLine::Action::showHistory;
    SingleInstance instance(QDBusConnection::sessionBus());
    if (!instance.claim() && QDBusConnection::sessionBus().isConnected()) {
        const auto request = wantsHistory ? SingleInstance::Request::showHistory
                                          : SingleInstance::Request::showMainWindow;
        if (SingleInstance::handOver(QDBusConnection::sessionBus(), request))
            return 0;
        print(stderr, u"murmo: Murmo is already running but does not answer. Quit it, or end its "
                      "process, and start Murmo again.\n"_s);
        return 1;
    }

    QuitOnSignals quitOnSignals;
    MurmoApp murmo(backend, embeddedBackend(backend));
    QObject::connect(&instance, &SingleInstance::showMainWindowRequested, &app,
                     [&murmo] { murmo.showMainWindow(); });
    QObject::connect(&instance, &SingleInstance::showHistoryRequested, &app,
                     [&murmo] { murmo.showHistory(); });
    QObject::connect(&instance, &SingleInstance::holdBeginRequested, &app,
                     [&murmo] { murmo.holdSource().holdBegan(); });
    QObject::connect(&instance, &SingleInstance::holdEndRequested, &app,
                     [&murmo] { murmo.holdSource().holdEnded(); });
    QObject::connect(&instance, &SingleInstance::toggleRequested, &app,
                     [&murmo] { murmo.controller().toggleRecording(); });
    QTimer::singleShot(0, &app, [&murmo, wantsHistory] {
        murmo.applicationDidFinishLaunching();
        if (wantsHistory)
            murmo.showHistory();
    });
    return app.exec();
}
