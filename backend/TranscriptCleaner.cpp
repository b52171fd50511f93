#include "TranscriptCleaner.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "UnicodeText.h"

namespace {

// Sounds of hesitation, English and Russian: never words of the message.
constexpr auto hesitations = std::to_array<std::string_view>(
    {"um", "umm", "uh", "uhh", "uhm", "er",  "erm", "ah",  "ahh", "hmm", "hm",
     "mm", "mmm", "ну", "э",   "ээ",  "эээ", "эм",  "ааа", "мм",  "ммм"});
// Fillers that are also ordinary words ("короче" is "shorter", "like" a verb): dropped only where
// they open a sentence set off by a comma, as in "Короче, я пришёл" or "Basically, it works".
constexpr auto openingFillers = std::to_array<std::string_view>(
    {"как бы", "типа", "короче", "вот", "значит", "это самое", "в общем", "блин", "слушай",
     "понимаешь", "like", "you know", "basically", "i mean", "kinda"});
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

// One word as written: punctuation before it, the word, punctuation after it. An engine that
// punctuates gives "«Привет," as "«", "Привет", ",".
struct Token
{
    std::string lead;
    std::string word;
    std::string trail;
    std::string lowered; // the word, for comparisons

    std::string text() const { return lead + word + trail; }
};

std::vector<std::string> pieces(std::string_view text)
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

Token tokenOf(std::string_view piece)
{
    const std::size_t begin = UnicodeText::wordBegin(piece);
    const std::size_t end = std::max(begin, UnicodeText::wordEnd(piece));
    const std::string word(piece.substr(begin, end - begin));
    return {std::string(piece.substr(0, begin)), word, std::string(piece.substr(end)),
            UnicodeText::lower(word)};
}

std::string_view withoutClosingQuotes(std::string_view trail)
{
    for (const std::string_view closer : {"\"", "'", ")", "\u201D", "\u2019", "\u00BB"}) {
        while (trail.ends_with(closer)) {
            trail.remove_suffix(closer.size());
        }
    }
    return trail;
}

bool endsSentence(std::string_view trail)
{
    const std::string_view bare = withoutClosingQuotes(trail);
    return bare.ends_with('.') || bare.ends_with('!') || bare.ends_with('?') ||
           bare.ends_with("\u2026");
}

// A new sentence starts after a full stop, "!" or "?", not after a trailing-off "...".
bool startsNewSentence(std::string_view trail)
{
    const std::string_view bare = withoutClosingQuotes(trail);
    return endsSentence(bare) && !bare.ends_with("..") && !bare.ends_with("\u2026");
}

bool isSentenceStart(const std::vector<Token>& tokens, std::size_t i)
{
    return i == 0 || startsNewSentence(tokens[i - 1].trail);
}

// Drops the token and the commas that set it off: "so, um, I" gives "so I"; a sentence end it
// carried moves to the word before it.
void dropToken(std::vector<Token>& tokens, std::size_t i)
{
    const std::string trail = tokens[i].trail;
    if (i > 0) {
        std::string& before = tokens[i - 1].trail;
        if (endsSentence(trail)) {
            before = before.ends_with(',') ? before.substr(0, before.size() - 1) + trail
                                           : before + trail;
        } else if (trail.starts_with(',') && before.ends_with(',')) {
            before.pop_back();
        }
    }
    tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i));
}

void dropHesitations(std::vector<Token>& tokens)
{
    for (std::size_t i = 0; i < tokens.size();) {
        if (isOneOf(tokens[i].lowered, hesitations)) {
            dropToken(tokens, i);
        } else {
            ++i;
        }
    }
}

// The number of tokens from `i` on that spell the phrase, with nothing between its words.
std::size_t phraseLength(const std::vector<Token>& tokens, std::size_t i, std::string_view phrase)
{
    std::size_t n = 0;
    while (!phrase.empty()) {
        const std::size_t space = phrase.find(' ');
        const std::string_view word = phrase.substr(0, space);
        const bool last = space == std::string_view::npos;
        if (i + n >= tokens.size() || tokens[i + n].lowered != word ||
            !tokens[i + n].lead.empty() || (!last && !tokens[i + n].trail.empty())) {
            return 0;
        }
        ++n;
        phrase = last ? std::string_view() : phrase.substr(space + 1);
    }
    return n;
}

// The opening filler at `i` followed by its comma, as a token count; 0 when there is none.
std::size_t openingFillerAt(const std::vector<Token>& tokens, std::size_t i)
{
    for (const auto phrase : openingFillers) {
        const std::size_t n = phraseLength(tokens, i, phrase);
        if (n > 0 && i + n < tokens.size() && tokens[i + n - 1].trail == ",") {
            return n;
        }
    }
    return 0;
}

void dropOpeningFillers(std::vector<Token>& tokens)
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!isSentenceStart(tokens, i)) {
            continue;
        }
        while (const std::size_t n = openingFillerAt(tokens, i)) {
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i),
                         tokens.begin() + static_cast<std::ptrdiff_t>(i + n));
        }
    }
}

// "the the the" becomes "the"; hesitations are gone by now, so "the um the" counts too. Words
// repeated with punctuation between them ("very, very") are meant.
void collapseStutters(std::vector<Token>& tokens)
{
    std::vector<Token> kept;
    for (std::size_t i = 0; i < tokens.size();) {
        std::size_t end = i + 1;
        while (end < tokens.size() && !tokens[i].word.empty() &&
               tokens[end].lowered == tokens[i].lowered && tokens[end - 1].trail.empty() &&
               tokens[end].lead.empty()) {
            ++end;
        }
        if (end - i == 2 && isOneOf(tokens[i].lowered, rightfulDoubles)) {
            kept.push_back(tokens[i]);
            kept.push_back(tokens[i + 1]);
        } else {
            // The first copy's opening punctuation, the last one's closing punctuation.
            kept.push_back(tokens[end - 1]);
            kept.back().lead = tokens[i].lead;
        }
        i = end;
    }
    tokens = std::move(kept);
}

bool startsWithDigit(std::string_view word)
{
    return !word.empty() && std::isdigit(static_cast<unsigned char>(word.front())) != 0;
}

// The pronoun "I" with its contractions, weekdays and months.
bool isProperWord(const std::vector<Token>& tokens, std::size_t i)
{
    const std::string& word = tokens[i].lowered;
    if (word == "i" || word.starts_with("i'") || isOneOf(word, properNames)) {
        return true;
    }
    if (!isOneOf(word, ambiguousMonths)) {
        return false;
    }
    const bool afterDateWord = i > 0 && isOneOf(tokens[i - 1].lowered, beforeDates);
    const bool beforeDay = i + 1 < tokens.size() && (startsWithDigit(tokens[i + 1].word) ||
                                                     isOneOf(tokens[i + 1].lowered, ordinals));
    return afterDateWord || beforeDay;
}

bool opensQuestion(const std::vector<Token>& tokens, std::size_t i)
{
    const std::string& first = tokens[i].lowered;
    const std::string second = i + 1 < tokens.size() ? tokens[i + 1].lowered : std::string();
    if (isOneOf(first, questionWords)) {
        return !(first == "what" && (second == "a" || second == "an")); // "What a day."
    }
    return isOneOf(first, auxiliaries) || (first == "do" && isOneOf(second, subjectsOfDo));
}

// A full stop, or a question mark when the last sentence opens a question; nothing when it ends
// with its own punctuation.
std::string endPunctuation(const std::vector<Token>& tokens)
{
    if (endsSentence(tokens.back().trail)) {
        return {};
    }
    std::size_t start = tokens.size() - 1;
    while (start > 0 && !isSentenceStart(tokens, start)) {
        --start;
    }
    return opensQuestion(tokens, start) ? "?" : ".";
}

} // namespace

std::string TranscriptCleaner::raw(std::string_view hypothesis)
{
    std::string out;
    for (auto& piece : pieces(hypothesis)) {
        const bool marker = (piece.starts_with('<') && piece.ends_with('>')) ||
                            (piece.starts_with('[') && piece.ends_with(']')) ||
                            (piece.size() > 4 && piece.starts_with("++") && piece.ends_with("++"));
        if (marker) {
            continue;
        }
        // "read(2)" names the second pronunciation of "read"; the word is the same.
        const std::size_t open = piece.rfind('(');
        if (open != std::string::npos && open > 0 && piece.ends_with(')')) {
            piece.erase(open);
        }
        out += (out.empty() ? "" : " ") + piece;
    }
    return out;
}

std::string TranscriptCleaner::clean(std::string_view rawText)
{
    std::vector<Token> tokens;
    for (const auto& piece : pieces(raw(rawText))) {
        tokens.push_back(tokenOf(piece));
    }
    dropHesitations(tokens);
    dropOpeningFillers(tokens);
    if (std::ranges::none_of(tokens, [](const Token& t) { return !t.word.empty(); })) {
        return {};
    }
    collapseStutters(tokens);
    // A clause mark left dangling at the end gives way to the end punctuation.
    std::string& last = tokens.back().trail;
    while (!last.empty() && (last.back() == ',' || last.back() == ';' || last.back() == ':')) {
        last.pop_back();
    }
    std::string text;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const bool capital = isSentenceStart(tokens, i) || isProperWord(tokens, i);
        const std::string written = tokens[i].text();
        text += (i > 0 ? " " : "") + (capital ? UnicodeText::capitalised(written) : written);
    }
    return text + endPunctuation(tokens);
}
