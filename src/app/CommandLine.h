#pragma once

#include <QString>
#include <QStringList>

// What the user asked for on the command line. Read before anything needs a display, so that
// --help and --version answer anywhere.
struct CommandLine
{
    enum class Action
    {
        run,
        showHistory, // open the history window, in the running Murmo when there is one
        // For key bindings of the desktop, sent to the running Murmo: a hold begins or ends,
        // or a dictation starts or finishes as a click on the pill would.
        holdBegin,
        holdEnd,
        toggle,
        diagnose, // what the session offers Murmo, and what it uses
        help,
        version,
        invalid,
    };

    Action action = Action::run;
    QString problem; // for `invalid`: what was wrong, in a sentence

    // `arguments` without the program name.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};
