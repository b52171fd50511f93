#pragma once

#include <QByteArray>

// Terminal emulators, known by the WM_CLASS of their windows. Terminals keep Control+V for the
// program running inside them and paste with Control+Shift+V.
class TerminalWindows
{
public:
    // `wmClass` is the property's value: the instance name and the class name, each ending in
    // a NUL byte.
    static bool isTerminal(const QByteArray& wmClass);
};
