#pragma once

#include <cstdint>
#include <memory>

// Posts keystrokes to whatever window has the keyboard focus, as if typed.
class SyntheticKeyboard
{
public:
    // The key-down and key-up events of one keystroke, made before either is posted so that a
    // failure posts nothing. Dropping it after the key-down posts the key-up, so no key stays
    // down.
    class Keystroke
    {
    public:
        virtual ~Keystroke() = default;
        virtual void postKeyDown() = 0;
        virtual void postKeyUp() = 0;
    };

    virtual ~SyntheticKeyboard() = default;
    // A keystroke of the program's virtual key code with exactly these modifier flags (the
    // modifiers the user holds do not take part); none when the events cannot be made.
    virtual std::unique_ptr<Keystroke> makeKeystroke(int keyCode, std::uint64_t modifierFlags) = 0;
};
