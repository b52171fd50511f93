#pragma once

#include "platform/SyntheticKeyboard.h"

// A keyboard that posts nothing, for sessions that let Murmo post no keystroke into other
// applications: every paste fails at once, so the text stays on the clipboard and the user is
// told to paste it, instead of a keystroke going nowhere while the dictation counts as pasted.
class RefusingKeyboard final : public SyntheticKeyboard
{
public:
    std::unique_ptr<Keystroke> makeKeystroke(int, std::uint64_t) override { return nullptr; }
};
