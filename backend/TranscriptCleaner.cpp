#include "TranscriptCleaner.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

namespace {

constexpr auto fillers = std::to_array<std::string_view>(
    {"um", "umm", "uh", "uhh", "uhm", "er", "erm", "ah", "ahh", "hmm", "hm", "mm", "mmm"});
constexpr auto questionWords = std::to_array<std::string_view>(
    {"what", "why", "how", "when", "where", "who", "whose", "which"});
constexpr auto auxiliaries = std::to_array<std::string_view>(
    {"am",      "is",     "are",   "was",   "were",     "do",       "does",
     "did",     "can",    "could", "would", "will",     "should",   "shall",
     "may",     "might",  "have",  "has",   "isn't",    "aren't",   "don't",
     "doesn't", "didn't", "can't", "won't", "wouldn't", "couldn't", "shouldn't"});
constexpr auto people = std::to_array<std::string_view>({"i", "you", "we", "they", "he", "she"});
// "Do it now" is an order, but "is it ready" asks: things follow only a form of "be".
constexpr auto things = std::to_array<std::string_view>({"it", "there", "this", "that"});
constexpr auto formsOfBe = std::to_array<std::string_view>(
    {"am", "is", "are", "was", "were", "isn't", "aren't", "wasn't", "weren't"});

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
    if (words.size() < 2) {
        return false;
    }
    const std::string first = lowered(words[0]);
    const std::string second = lowered(words[1]);
    return (isOneOf(first, questionWords) && isOneOf(second, auxiliaries)) ||
           (isOneOf(first, auxiliaries) && isOneOf(second, people)) ||
           (isOneOf(first, formsOfBe) && isOneOf(second, things));
}

void capitaliseFirstLetter(std::string& word)
{
    word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
}

// The pronoun "I" and its contractions are always upper case.
bool isFirstPerson(std::string_view word)
{
    return word == "i" || word.starts_with("i'");
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
    for (auto& word : words) {
        if (isFirstPerson(word)) {
            capitaliseFirstLetter(word);
        }
    }
    capitaliseFirstLetter(words.front());
    std::string text = joined(words);
    if (!text.ends_with('.') && !text.ends_with('!') && !text.ends_with('?')) {
        text += opensQuestion(words) ? '?' : '.';
    }
    return text;
}
