#include "FillerWords.h"

#include <string>

#include "UnicodeText.h"
#include "text/FillerExpressions.h"

namespace {

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
    for (const auto filler : FillerExpressions::all) {
        if (const std::size_t n = occurrences(haystack, " " + std::string(filler) + " ")) {
            result.emplace_back(filler, n);
        }
    }
    return result;
}
