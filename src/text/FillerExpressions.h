#pragma once

#include <array>
#include <string_view>

// Filler expressions of English and Russian dictation, lower case, in counting order. Plain C++
// so that the backend counts fillers exactly as the statistics do.
namespace FillerExpressions {

inline constexpr auto all = std::to_array<std::string_view>({
    "ну",       "эээ",       "ээ",     "ааа",    "мм",        "ммм",      "как бы",
    "типа",     "короче",    "вот",    "значит", "это самое", "в общем",  "блин",
    "слушай",   "понимаешь", "um",     "uh",     "like",      "you know", "basically",
    "actually", "literally", "i mean", "kinda",
});

} // namespace FillerExpressions
