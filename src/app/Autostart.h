#pragma once

#include <QString>

// "Start at login": an entry in the user's autostart folder that desktops following the XDG
// autostart rules run at login. Murmo owns the entry under its name and removes it again.
class Autostart
{
public:
    // `entryPath`: the entry's file; `program`: the executable the entry starts.
    Autostart(QString entryPath, QString program);

    // $XDG_CONFIG_HOME/autostart/murmo.desktop
    static QString defaultEntryPath();

    // The entry exists and is not switched off (Hidden=true, as some settings tools write).
    bool isEnabled() const;
    // Writes or removes the entry; false when the file could not be written or removed.
    bool setEnabled(bool enabled);

private:
    QString entry() const;

    QString m_entryPath;
    QString m_program;
};
