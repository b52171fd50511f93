#include "app/CommandLine.h"

using namespace Qt::StringLiterals;

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    for (const QString& argument : arguments) {
        Action action = Action::invalid;
        if (argument == u"--history"_s)
            action = Action::showHistory;
        else if (argument == u"--hold-begin"_s)
            action = Action::holdBegin;
        else if (argument == u"--hold-end"_s)
            action = Action::holdEnd;
        else if (argument == u"--toggle"_s)
            action = Action::toggle;
        else if (argument == u"--diagnose"_s)
            action = Action::diagnose;
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
    return u"Usage: murmo [--history | --hold-begin | --hold-end | --toggle | --diagnose]\n"
           "\n"
           "Hold-to-talk dictation: hold the hold key (right Super unless you chose another in\n"
           "the tray menu) in any application, speak, and let go. The text appears where you\n"
           "type.\n"
           "\n"
           "Options:\n"
           "  --history     show the history window (of the Murmo already running, if any)\n"
           "  --hold-begin  for a key binding: the running Murmo starts a hold, as if the hold\n"
           "                key went down\n"
           "  --hold-end    for a key binding: the running Murmo ends the hold\n"
           "  --toggle      for a key binding: the running Murmo starts or finishes a\n"
           "                dictation, as a click on its pill does\n"
           "  --diagnose    show what this desktop session offers Murmo for the hold key, the\n"
           "                clipboard and the paste keystroke, and what Murmo uses\n"
           "  --help        show this help\n"
           "  --version     show Murmo's version\n"
           "\n"
           "Environment:\n"
           "  MURMO_BACKEND_URL  the backend to use instead of the built-in one: https, or\n"
           "                     http on this computer\n"
           "  MURMO_CLOUD_URL    a WebDAV folder that mirrors the history\n"_s;
}
