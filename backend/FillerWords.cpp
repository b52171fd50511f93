#include "FillerWords.h"

#include <array>
#include <string>

#include "UnicodeText.h"

namespace {

constexpr auto fillers = std::to_array<std::string_view>({
    "ну",       "эээ",       "ээ",     "ааа",    "мм",        "ммм",      "как бы",
    "типа",     "короче",    "вот",    "значит", "это самое", "в общем",  "блин",
    "слушай",   "понимаешь", "um",     "uh",     "like",      "you know", "basically",
    "actually", "literally", "i mean", "kinda",
});

std::size_t occurrences(const std::string& haystack, const std::string& needle)
{
    std::size_t n = 0;
    for (auto at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace

std::vector<FillerWords::Count> FillerWords::count(std::string_view text)
{
    const std::string haystack = " " + UnicodeText::lower(text) + " ";
    std::vector<Count> result;
    for (const auto filler : fillers) {
        if (const std::size_t n = occurrences(haystack, " " + std::string(filler) + " ")) {
            result.emplace_back(filler, n);
        }
    }
    return result;
}
