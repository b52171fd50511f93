#pragma once

#include "platform/SyntheticKeyboard.h"

#include <memory>

class XTestInjectionMarker;
class XcbConnection;
struct xkb_context;

// Keystrokes through XTest, announced to the key monitors so they do not count as typing.
// The program's chords become the desktop's: Command and Control are Control, Option is Alt,
// and the paste chord gains Shift in terminal windows. The key is the one that types the wanted
// letter, taken from the first keyboard layout that has it: with a Russian or Greek layout
// active, the Latin layout is switched in for the chord and back after it. Modifiers the user
// still holds are lifted for the chord and pressed again after it.
class X11SyntheticKeyboard final : public SyntheticKeyboard
{
public:
    explicit X11SyntheticKeyboard(XTestInjectionMarker& ownInjections);
    ~X11SyntheticKeyboard() override;

    std::unique_ptr<Keystroke> makeKeystroke(int keyCode, std::uint64_t modifierFlags) override;

private:
    class Chord;

    bool focusIsTerminal() const;

    XTestInjectionMarker& m_ownInjections;
    std::unique_ptr<XcbConnection> m_connection;
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> m_xkbContext;
    std::int32_t m_keyboardDevice = -1;
    std::uint32_t m_activeWindowAtom = 0;
};
