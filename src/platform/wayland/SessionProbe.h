#pragma once

#include <QString>

// What the desktop session offers for watching the hold key, reaching the clipboard without
// focus and posting the paste keystroke, as found by asking it at start-up.
struct SessionProbe
{
    enum class Display
    {
        x11,     // an X11 session: every service goes through the X server
        wayland, // a Wayland session; Murmo's own windows still run on XWayland
    };

    Display display = Display::x11;
    QString waylandDisplay; // the socket's name, for the report

    // Globals the compositor advertises.
    bool seat = false;
    bool dataControl = false;     // zwlr_data_control_manager_v1
    bool virtualKeyboard = false; // zwp_virtual_keyboard_manager_v1

    // Versions of the desktop portal's interfaces; 0 when the portal lacks one (or is absent).
    int globalShortcutsVersion = 0;
    int remoteDesktopVersion = 0;
    bool remoteDesktopKeyboard = false; // the RemoteDesktop portal offers a keyboard device
    int clipboardVersion = 0;           // the Clipboard portal, used inside a RemoteDesktop session

    // Keyboards under /dev/input, and how many of them this user may read.
    bool keyboardReadingChosen = false;
    int keyboards = 0;
    int readableKeyboards = 0;
};
