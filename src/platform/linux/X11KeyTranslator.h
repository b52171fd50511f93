#pragma once

#include "platform/KeyEventMonitors.h"

#include <optional>
#include <set>

// Turns the X server's raw key stream (X keycodes pressed and released) into key events in the
// program's own codes. Raw events carry no modifier state, so the pressed modifier keys are
// tracked here from the stream itself.
class X11KeyTranslator
{
public:
    struct Translated
    {
        KeyEventMonitors::Kind kind;
        KeyEvent event; // without characters: those need the keyboard layout
    };

    // None for keys outside the program's code space and for a modifier already down.
    std::optional<Translated> press(int xKeycode);
    // Only modifiers and Caps Lock make an event when released.
    std::optional<Translated> release(int xKeycode);

private:
    std::uint64_t modifierFlags() const;

    std::set<int> m_pressedModifiers;
};
