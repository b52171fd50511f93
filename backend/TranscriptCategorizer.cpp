#include "TranscriptCategorizer.h"

#include <algorithm>
#include <vector>

#include "TextAnalysis.h"

namespace {

using Phrase = std::string_view;

struct Rule
{
    std::string_view category;
    std::vector<Phrase> openings;
    std::vector<Phrase> anywhere;
};

// Checked in order; the first rule that matches wins.
const std::vector<Rule> rules = {
    {"email",
     {"dear", "hi team", "hello team", "to whom it may concern"},
     {"best regards", "kind regards", "yours sincerely", "yours faithfully"}},
    {"reminder", {"remind me", "reminder", "don't forget", "remember to"}, {"remind me to"}},
    {"task", {"todo", "to do list", "add to my list"}, {}},
};

// Lower-cased words, single-spaced, with a space at both ends so phrases match whole words.
std::string normalised(std::string_view text)
{
    std::string out = " ";
    for (const auto& word : TextAnalysis::words(text)) {
        out += word + " ";
    }
    return out;
}

bool matches(const Rule& rule, const std::string& words)
{
    const auto opens = [&](Phrase p) { return words.starts_with(" " + std::string(p) + " "); };
    const auto holds = [&](Phrase p) {
        return words.find(" " + std::string(p) + " ") != std::string::npos;
    };
    return std::ranges::any_of(rule.openings, opens) || std::ranges::any_of(rule.anywhere, holds);
}

} // namespace

std::optional<std::string> TranscriptCategorizer::categorize(std::string_view text)
{
    if (text.ends_with('?')) {
        return "question";
    }
    const std::string words = normalised(text);
    for (const auto& rule : rules) {
        if (matches(rule, words)) {
            return std::string(rule.category);
        }
    }
    return std::nullopt;
}
