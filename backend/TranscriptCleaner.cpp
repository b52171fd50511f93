#include "TranscriptCleaner.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

namespace {

constexpr auto fillers = std::to_array<std::string_view>(
    {"um", "umm", "uh", "uhh", "uhm", "er", "erm", "ah", "ahh", "hmm", "hm", "mm", "mmm"});
constexpr auto questionWords =
    std::to_array<std::string_view>({"what", "where", "when", "who", "why", "how", "which"});
constexpr auto auxiliaries = std::to_array<std::string_view>(
    {"does", "is", "are", "can", "could", "would", "will", "should"});
// "Do it now" is an order; "do you" asks.
constexpr auto subjectsOfDo = std::to_array<std::string_view>({"i", "you", "we", "they"});
// Words said twice on purpose: "she had had enough", "he said that that was fine".
constexpr auto rightfulDoubles = std::to_array<std::string_view>({"had", "that"});
constexpr auto properNames = std::to_array<std::string_view>(
    {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday", "january",
     "february", "april", "june", "july", "august", "september", "october", "november",
     "december"});
// "May" and "March" are months only beside a date: "in may", "march third".
constexpr auto ambiguousMonths = std::to_array<std::string_view>({"may", "march"});
constexpr auto beforeDates = std::to_array<std::string_view>(
    {"in", "of", "since", "until", "till", "by", "from", "early", "mid", "late", "next", "last"});
constexpr auto ordinals = std::to_array<std::string_view>(
    {"first",      "second",     "third",     "fourth",    "fifth",       "sixth",
     "seventh",    "eighth",     "ninth",     "tenth",     "eleventh",    "twelfth",
     "thirteenth", "fourteenth", "fifteenth", "sixteenth", "seventeenth", "eighteenth",
     "nineteenth", "twentieth",  "thirtieth"});

template<std::size_t N>
bool isOneOf(std::string_view word, const std::array<std::string_view, N>& list)
{
    return std::ranges::find(list, word) != list.end();
}

std::vector<std::string> tokens(std::string_view text)
{
    std::vector<std::string> result;
    std::string current;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) == 0) {
            current += c;
        } else if (!current.empty()) {
            result.push_back(std::exchange(current, {}));
        }
    }
    if (!current.empty()) {
        result.push_back(std::move(current));
    }
    return result;
}

bool isMarker(std::string_view token)
{
    return (token.starts_with('<') && token.ends_with('>')) ||
           (token.starts_with('[') && token.ends_with(']')) ||
           (token.size() > 4 && token.starts_with("++") && token.ends_with("++"));
}

// "read(2)" names the second pronunciation of "read"; the word is the same.
std::string withoutPronunciation(std::string token)
{
    const std::size_t open = token.rfind('(');
    if (open != std::string::npos && open > 0 && token.ends_with(')')) {
        token.erase(open);
    }
    return token;
}

std::string lowered(std::string_view word)
{
    std::string out(word);
    std::ranges::transform(out, out.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string out;
    for (const auto& word : words) {
        out += (out.empty() ? "" : " ") + word;
    }
    return out;
}

bool opensQuestion(const std::vector<std::string>& words)
{
    const std::string first = lowered(words[0]);
    const std::string second = words.size() > 1 ? lowered(words[1]) : std::string();
    if (isOneOf(first, questionWords)) {
        return !(first == "what" && (second == "a" || second == "an")); // "What a day."
    }
    return isOneOf(first, auxiliaries) || (first == "do" && isOneOf(second, subjectsOfDo));
}

// "the the the" becomes "the"; fillers are gone by now, so "the um the" counts too.
void collapseStutters(std::vector<std::string>& words)
{
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < words.size();) {
        const std::string word = lowered(words[i]);
        std::size_t end = i + 1;
        while (end < words.size() && lowered(words[end]) == word) {
            ++end;
        }
        const std::size_t copies = end - i == 2 && isOneOf(word, rightfulDoubles) ? 2 : 1;
        kept.insert(kept.end(), words.begin() + static_cast<std::ptrdiff_t>(i),
                    words.begin() + static_cast<std::ptrdiff_t>(i + copies));
        i = end;
    }
    words = std::move(kept);
}

bool startsWithDigit(std::string_view word)
{
    return !word.empty() && std::isdigit(static_cast<unsigned char>(word.front())) != 0;
}

// The pronoun "I" with its contractions, weekdays and months.
bool isCapitalised(const std::vector<std::string>& words, std::size_t i)
{
    const std::string word = lowered(words[i]);
    if (word == "i" || word.starts_with("i'") || isOneOf(word, properNames)) {
        return true;
    }
    if (!isOneOf(word, ambiguousMonths)) {
        return false;
    }
    const bool afterDateWord = i > 0 && isOneOf(lowered(words[i - 1]), beforeDates);
    const bool beforeDay = i + 1 < words.size() && (startsWithDigit(words[i + 1]) ||
                                                    isOneOf(lowered(words[i + 1]), ordinals));
    return afterDateWord || beforeDay;
}

void capitaliseFirstLetter(std::string& word)
{
    word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
}

} // namespace

std::string TranscriptCleaner::raw(std::string_view hypothesis)
{
    std::vector<std::string> words;
    for (auto& token : tokens(hypothesis)) {
        if (!isMarker(token)) {
            words.push_back(withoutPronunciation(std::move(token)));
        }
    }
    return joined(words);
}

std::string TranscriptCleaner::clean(std::string_view rawText)
{
    std::vector<std::string> words = tokens(TranscriptCleaner::raw(rawText));
    std::erase_if(words, [](const std::string& word) { return isOneOf(lowered(word), fillers); });
    if (words.empty()) {
        return {};
    }
    collapseStutters(words);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (isCapitalised(words, i)) {
            capitaliseFirstLetter(words[i]);
        }
    }
    capitaliseFirstLetter(words.front());
    std::string text = joined(words);
    if (!text.ends_with('.') && !text.ends_with('!') && !text.ends_with('?')) {
        text += opensQuestion(words) ? '?' : '.';
    }
    return text;
}
