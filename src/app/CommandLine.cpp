#include "app/CommandLine.h"

using namespace Qt::StringLiterals;

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    for (const QString& argument : arguments) {
        Action action = Action::invalid;
        if (argument == u"--history"_s)
            action = Action::showHistory;
        else if (argument == u"--help"_s || argument == u"-h"_s)
            action = Action::help;
        else if (argument == u"--version"_s)
            action = Action::version;
        if (action == Action::invalid)
            return {Action::invalid, u"Unknown option: "_s + argument};
        // Help and version win over anything else asked for with them.
        if (line.action == Action::run || action == Action::help ||
            (action == Action::version && line.action != Action::help))
            line.action = action;
    }
    return line;
}

QString CommandLine::helpText()
{
    return u"Usage: murmo [--history]\n"
           "\n"
           "Hold-to-talk dictation: hold the hold key (right Super unless you chose another in\n"
           "the tray menu) in any application, speak, and let go. The text appears where you\n"
           "type.\n"
           "\n"
           "Options:\n"
           "  --history   show the history window (of the Murmo already running, if any)\n"
           "  --help      show this help\n"
           "  --version   show Murmo's version\n"
           "\n"
           "Environment:\n"
           "  MURMO_BACKEND_URL  the backend to use instead of the built-in one: https, or\n"
           "                     http on this computer\n"
           "  MURMO_CLOUD_URL    a WebDAV folder that mirrors the history\n"_s;
}
