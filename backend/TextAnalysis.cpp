#include "TextAnalysis.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <utility>

#include "UnicodeText.h"

namespace {

// Function words, the most common verbs, and sounds and fillers (the insights count those on
// their own): counting them would say nothing about content.
constexpr auto stopWords = std::to_array<std::string_view>({
    "a",     "about",     "after",     "again",    "all",   "also", "am",    "an",    "and",
    "any",   "are",       "as",        "at",       "be",    "been", "but",   "by",    "can",
    "could", "did",       "do",        "does",     "don't", "for",  "from",  "get",   "got",
    "had",   "has",       "have",      "he",       "her",   "here", "him",   "his",   "how",
    "i",     "i'm",       "if",        "in",       "into",  "is",   "it",    "it's",  "its",
    "just",  "know",      "let",       "like",     "me",    "more", "my",    "no",    "not",
    "now",   "of",        "off",       "oh",       "ok",    "okay", "on",    "one",   "or",
    "our",   "out",       "really",    "said",     "say",   "see",  "she",   "so",    "some",
    "than",  "that",      "that's",    "the",      "their", "them", "then",  "there", "these",
    "they",  "think",     "this",      "those",    "to",    "too",  "up",    "us",    "very",
    "was",   "we",        "well",      "were",     "what",  "when", "where", "which", "who",
    "why",   "will",      "with",      "would",    "yeah",  "yes",  "you",   "your",  "go",
    "going", "want",      "um",        "uh",       "uhm",   "er",   "erm",   "ah",    "hmm",
    "mm",    "basically", "literally", "actually", "kinda",
});
// The same for Russian dictations.
constexpr auto russianStopWords = std::to_array<std::string_view>({
    "а",    "без",    "бы",     "был",   "была",   "были",      "было", "быть",  "в",     "вам",
    "вас",  "ведь",   "весь",   "во",    "вот",    "все",       "всё",  "всего", "вы",    "где",
    "да",   "даже",   "для",    "до",    "его",    "её",        "ее",   "если",  "есть",  "ещё",
    "еще",  "же",     "за",     "здесь", "и",      "из",        "или",  "им",    "их",    "к",
    "как",  "когда",  "кто",    "ли",    "мне",    "может",     "мой",  "моя",   "мы",    "на",
    "надо", "нас",    "не",     "него",  "нет",    "ни",        "но",   "ну",    "о",     "об",
    "он",   "она",    "они",    "оно",   "от",     "очень",     "по",   "под",   "потом", "потому",
    "при",  "про",    "с",      "сам",   "себя",   "со",        "так",  "там",   "тебя",  "то",
    "того", "тоже",   "только", "ты",    "у",      "уже",       "чего", "чем",   "что",   "чтобы",
    "это",  "этот",   "эти",    "этого", "я",      "ээ",        "эээ",  "ааа",   "мм",    "ммм",
    "типа", "короче", "значит", "блин",  "слушай", "понимаешь",
});

// An apostrophe inside a word belongs to it: "don't", "it’s".
bool isApostropheAt(std::string_view text, std::size_t i)
{
    return text.substr(i, 1) == "'" || text.substr(i, 3) == "\u2019";
}

bool isSentenceEnd(char c)
{
    return c == '.' || c == '!' || c == '?' || c == '\n';
}

} // namespace

std::vector<std::string> TextAnalysis::words(std::string_view text)
{
    const std::string lowered = UnicodeText::lower(text);
    const std::string_view all = lowered;
    std::vector<std::string> result;
    std::string current;
    for (std::size_t i = 0; i < all.size();) {
        const std::size_t next = UnicodeText::codePointEnd(all, i);
        const bool innerApostrophe =
            !current.empty() && isApostropheAt(all, i) && UnicodeText::isAlphanumericAt(all, next);
        if (UnicodeText::isAlphanumericAt(all, i) || innerApostrophe) {
            current += all.substr(i, next - i);
        } else if (!current.empty()) {
            result.push_back(std::exchange(current, {}));
        }
        i = next;
    }
    if (!current.empty()) {
        result.push_back(std::move(current));
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

bool TextAnalysis::isContentWord(std::string_view word)
{
    const bool singleLetter = UnicodeText::codePointEnd(word, 0) >= word.size();
    return !singleLetter && std::ranges::find(stopWords, word) == stopWords.end() &&
           std::ranges::find(russianStopWords, word) == russianStopWords.end();
}

std::vector<TextAnalysis::WordCount>
TextAnalysis::topContentWords(const std::vector<std::string>& texts, std::size_t limit,
                              std::size_t minCount)
{
    std::map<std::string, std::size_t> counts;
    for (const auto& text : texts) {
        for (auto& word : words(text)) {
            if (isContentWord(word)) {
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
