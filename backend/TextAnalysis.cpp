#include "TextAnalysis.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <map>

namespace {

// Function words and the most common verbs: counting them would say nothing about content.
constexpr auto stopWords = std::to_array<std::string_view>({
    "a",     "about", "after", "again", "all",    "also",   "am",    "an",    "and",   "any",
    "are",   "as",    "at",    "be",    "been",   "but",    "by",    "can",   "could", "did",
    "do",    "does",  "don't", "for",   "from",   "get",    "got",   "had",   "has",   "have",
    "he",    "her",   "here",  "him",   "his",    "how",    "i",     "i'm",   "if",    "in",
    "into",  "is",    "it",    "it's",  "its",    "just",   "know",  "let",   "like",  "me",
    "more",  "my",    "no",    "not",   "now",    "of",     "off",   "oh",    "ok",    "okay",
    "on",    "one",   "or",    "our",   "out",    "really", "said",  "say",   "see",   "she",
    "so",    "some",  "than",  "that",  "that's", "the",    "their", "them",  "then",  "there",
    "these", "they",  "think", "this",  "those",  "to",     "too",   "up",    "us",    "very",
    "was",   "we",    "well",  "were",  "what",   "when",   "where", "which", "who",   "why",
    "will",  "with",  "would", "yeah",  "yes",    "you",    "your",  "go",    "going", "want",
});

bool isWordByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || std::isalnum(byte) != 0;
}

bool isSentenceEnd(char c)
{
    return c == '.' || c == '!' || c == '?' || c == '\n';
}

} // namespace

std::vector<std::string> TextAnalysis::words(std::string_view text)
{
    std::vector<std::string> result;
    std::string current;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        const bool innerApostrophe =
            c == '\'' && !current.empty() && i + 1 < text.size() && isWordByte(text[i + 1]);
        if (isWordByte(c) || innerApostrophe) {
            current += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!current.empty()) {
            result.push_back(std::move(current));
            current.clear();
        }
    }
    return result;
}

std::vector<std::vector<std::string>> TextAnalysis::sentences(std::string_view text)
{
    std::vector<std::vector<std::string>> result;
    while (!text.empty()) {
        const auto end = std::ranges::find_if(text, isSentenceEnd);
        const auto length = static_cast<std::size_t>(end - text.begin());
        auto sentence = words(text.substr(0, length));
        if (!sentence.empty()) {
            result.push_back(std::move(sentence));
        }
        text.remove_prefix(std::min(length + 1, text.size()));
    }
    return result;
}

bool TextAnalysis::isStopWord(std::string_view word)
{
    return std::ranges::find(stopWords, word) != stopWords.end();
}

std::vector<TextAnalysis::WordCount>
TextAnalysis::topContentWords(const std::vector<std::string>& texts, std::size_t limit,
                              std::size_t minCount)
{
    std::map<std::string, std::size_t> counts;
    for (const auto& text : texts) {
        for (auto& word : words(text)) {
            if (!isStopWord(word) && word.size() > 1) {
                ++counts[std::move(word)];
            }
        }
    }
    std::vector<WordCount> ranked;
    std::ranges::copy_if(counts, std::back_inserter(ranked),
                         [minCount](const WordCount& entry) { return entry.second >= minCount; });
    std::ranges::stable_sort(
        ranked, [](const WordCount& a, const WordCount& b) { return a.second > b.second; });
    ranked.resize(std::min(ranked.size(), limit));
    return ranked;
}
