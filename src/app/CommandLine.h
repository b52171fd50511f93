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
