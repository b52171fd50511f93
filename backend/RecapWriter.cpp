#include "RecapWriter.h"

#include <algorithm>
#include <array>
#include <utility>

#include "TextAnalysis.h"
#include "Wording.h"

namespace {

constexpr auto openings = std::to_array<std::pair<std::string_view, std::string_view>>({
    {"week", "This week you dictated "},
    {"month", "This month you dictated "},
    {"year", "This year you dictated "},
    {"all", "So far you have dictated "},
});

std::string_view openingFor(std::string_view period)
{
    const auto found =
        std::ranges::find(openings, period, &std::pair<std::string_view, std::string_view>::first);
    return found == openings.end() ? std::string_view() : found->second;
}

std::string topicsSentence(const std::vector<std::string>& texts)
{
    const auto top = TextAnalysis::topContentWords(texts, 3, 2);
    if (top.empty()) {
        return {};
    }
    std::vector<std::string> parts;
    for (const auto& [word, n] : top) {
        parts.push_back(Wording::quotedCount(word, n));
    }
    return " Words that came up most: " + Wording::listing(parts) + ".";
}

} // namespace

bool RecapWriter::isPeriod(std::string_view period)
{
    return !openingFor(period).empty();
}

std::string RecapWriter::write(const std::vector<std::string>& texts, std::string_view period)
{
    std::size_t messages = 0;
    std::size_t words = 0;
    std::size_t longest = 0;
    for (const auto& text : texts) {
        const std::size_t n = TextAnalysis::words(text).size();
        messages += n > 0 ? 1 : 0;
        words += n;
        longest = std::max(longest, n);
    }
    if (messages == 0) {
        return "Nothing was dictated in this period yet.";
    }
    std::string recap = std::string(openingFor(period)) + Wording::count(messages, "message") +
                        ", " + Wording::count(words, "word") + " in all.";
    recap += topicsSentence(texts);
    if (messages > 1) {
        recap += " The longest message ran to " + Wording::count(longest, "word") + ".";
    }
    return recap;
}
