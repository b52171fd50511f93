#include "InsightsWriter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

#include "FillerWords.h"
#include "TextAnalysis.h"
#include "Wording.h"

namespace {

using Words = std::vector<std::string>;
using Counts = std::vector<TextAnalysis::WordCount>;

// Words that add little and are easy to lean on when speaking.
constexpr auto weakWords = std::to_array<std::string_view>(
    {"really", "very", "just", "totally", "super", "extremely", "pretty", "quite", "thing",
     "things", "stuff", "очень", "просто", "реально", "вообще", "штука"});
// Vocabulary figures mean little on a handful of words.
constexpr std::size_t enoughContentWords = 30;
// A message this long without a comma or a stop inside reads as one breathless run.
constexpr std::size_t runOnWords = 25;

struct Profile
{
    std::size_t messages = 0;
    std::size_t words = 0;
    std::size_t sentences = 0;
    std::size_t longestSentence = 0;
    std::size_t contentWords = 0;
    std::size_t distinctContentWords = 0;
    std::size_t doubledWords = 0;
    std::string doubledExample;
    std::size_t unfinished = 0; // messages without end punctuation
    std::size_t runOns = 0;     // long messages without punctuation inside
    Counts fillers;
    Counts weakWords;
    Counts topContent;

    double perHundredWords(std::size_t n) const { return words ? 100.0 * n / words : 0.0; }
    double averageSentence() const { return sentences ? double(words) / sentences : 0.0; }
    double variety() const
    {
        return contentWords ? double(distinctContentWords) / contentWords : 0.0;
    }
};

struct Advice
{
    std::string title;
    std::string detail;
    std::string resourceTitle;
    std::string resourceWhy;
};

std::size_t total(const Counts& counts)
{
    std::size_t sum = 0;
    for (const auto& entry : counts) {
        sum += entry.second;
    }
    return sum;
}

std::string quotedCounts(const Counts& counts)
{
    std::vector<std::string> parts;
    for (const auto& [word, n] : counts) {
        parts.push_back(Wording::quotedCount(word, n));
    }
    return Wording::listing(parts);
}

// Highest counts first; equal counts keep their order.
Counts ranked(Counts counts)
{
    std::ranges::stable_sort(counts,
                             [](const auto& a, const auto& b) { return a.second > b.second; });
    return counts;
}

void add(Counts& counts, std::string_view word, std::size_t n)
{
    const auto found = std::ranges::find(counts, word, &TextAnalysis::WordCount::first);
    if (found == counts.end()) {
        counts.emplace_back(word, n);
    } else {
        found->second += n;
    }
}

void addSentence(Profile& profile, const Words& sentence)
{
    ++profile.sentences;
    profile.longestSentence = std::max(profile.longestSentence, sentence.size());
    for (std::size_t i = 1; i < sentence.size(); ++i) {
        if (sentence[i] == sentence[i - 1]) {
            ++profile.doubledWords;
            if (profile.doubledExample.empty()) {
                profile.doubledExample = sentence[i] + " " + sentence[i];
            }
        }
    }
}

void addPunctuation(Profile& profile, std::string_view sample, std::size_t words)
{
    while (!sample.empty() && std::isspace(static_cast<unsigned char>(sample.back()))) {
        sample.remove_suffix(1);
    }
    const bool finished = sample.ends_with('.') || sample.ends_with('!') || sample.ends_with('?') ||
                          sample.ends_with("\u2026");
    profile.unfinished += finished ? 0 : 1;
    const std::string_view inside = finished ? sample.substr(0, sample.size() - 1) : sample;
    if (words >= runOnWords && inside.find_first_of(",.;:!?") == std::string_view::npos) {
        ++profile.runOns;
    }
}

Profile profileOf(const std::vector<std::string>& samples)
{
    Profile profile;
    std::set<std::string> distinct;
    for (const auto& sample : samples) {
        const Words words = TextAnalysis::words(sample);
        if (words.empty()) {
            continue;
        }
        ++profile.messages;
        profile.words += words.size();
        for (const auto& sentence : TextAnalysis::sentences(sample)) {
            addSentence(profile, sentence);
        }
        addPunctuation(profile, sample, words.size());
        for (const auto& [filler, n] : FillerWords::count(sample)) {
            add(profile.fillers, filler, n);
        }
        for (const auto& word : words) {
            if (std::ranges::find(weakWords, word) != weakWords.end()) {
                add(profile.weakWords, word, 1);
            }
            if (TextAnalysis::isContentWord(word)) {
                ++profile.contentWords;
                distinct.insert(word);
            }
        }
    }
    profile.distinctContentWords = distinct.size();
    profile.fillers = ranked(std::move(profile.fillers));
    profile.weakWords = ranked(std::move(profile.weakWords));
    profile.topContent = TextAnalysis::topContentWords(samples, 1, 2);
    return profile;
}

std::vector<std::string> strengthsOf(const Profile& p)
{
    std::vector<std::string> strengths;
    const std::size_t fillerCount = total(p.fillers);
    if (p.words >= 20 && p.perHundredWords(fillerCount) < 1.0) {
        strengths.push_back(fillerCount == 0
                                ? "No filler words in " + Wording::count(p.words, "word") + "."
                                : "Hardly any filler words: " + std::to_string(fillerCount) +
                                      " in " + Wording::count(p.words, "word") + ".");
    }
    if (p.averageSentence() >= 8 && p.averageSentence() <= 20) {
        strengths.push_back("Sentences of a comfortable length: " +
                            Wording::decimal(p.averageSentence()) + " words on average.");
    }
    if (p.contentWords >= enoughContentWords && p.variety() >= 0.6) {
        strengths.push_back("Varied vocabulary: " + std::to_string(p.distinctContentWords) +
                            " different content words out of " + std::to_string(p.contentWords) +
                            ".");
    }
    if (p.words >= enoughContentWords && p.doubledWords == 0) {
        strengths.push_back("No accidentally doubled words.");
    }
    return strengths;
}

void adviseOnFillers(const Profile& p, std::vector<Advice>& advice)
{
    const std::size_t n = total(p.fillers);
    if (n < 2 || p.perHundredWords(n) < 1.0) {
        return;
    }
    advice.push_back({"Cut the filler words",
                      "Filler words came up " + Wording::count(n, "time") + " in " +
                          Wording::count(p.words, "word") + " (" +
                          Wording::decimal(p.perHundredWords(n)) +
                          " per 100): " + quotedCounts(p.fillers) +
                          ". A short pause does the same job and reads cleaner.",
                      "The \u201CAh-Counter\u201D exercise",
                      "Speaking clubs count every filler a speaker says; counting your own in the "
                      "next few dictations targets the " +
                          std::to_string(n) + " found here, \u201C" +
                          std::string(p.fillers.front().first) + "\u201D most of all."});
}

void adviseOnSentenceLength(const Profile& p, std::vector<Advice>& advice)
{
    const std::string average = Wording::decimal(p.averageSentence());
    if (p.averageSentence() > 25 || p.longestSentence > 40) {
        advice.push_back(
            {"Break up long sentences",
             "Your sentences average " + average + " words and the longest runs to " +
                 std::to_string(p.longestSentence) + ". One idea per sentence is easier to follow.",
             "\u201CHow to write in plain English\u201D (Plain English Campaign)",
             "Its advice of 15 to 20 words per sentence on average gives a target for sentences "
             "that average " +
                 average + " here."});
    } else if (p.sentences >= 3 && p.averageSentence() < 6) {
        advice.push_back(
            {"Connect short sentences",
             "Your sentences average " + average +
                 " words. Joining closely related ones with \u201Cand\u201D, \u201Cbecause\u201D "
                 "or \u201Cso\u201D makes a message flow.",
             "Linking words",
             "A short list of connectives (because, although, so that, which) helps join the "
             "short sentences these messages are made of."});
    }
}

void adviseOnPunctuation(const Profile& p, std::vector<Advice>& advice)
{
    if (p.runOns == 0 && p.unfinished == 0) {
        return;
    }
    std::vector<std::string> findings;
    if (p.runOns > 0) {
        findings.push_back(Wording::count(p.runOns, "message") + " of " +
                           std::to_string(runOnWords) +
                           " words or more with no comma or full stop inside");
    }
    if (p.unfinished > 0) {
        findings.push_back(Wording::count(p.unfinished, "message") + " without end punctuation");
    }
    advice.push_back({"Mark where thoughts end",
                      "There " + std::string(p.runOns + p.unfinished == 1 ? "is " : "are ") +
                          Wording::listing(findings) +
                          ". Pausing briefly between thoughts, and reading a long message back "
                          "before sending it, puts the breaks where a reader needs them.",
                      "Purdue OWL: punctuation",
                      "Its short pages on where commas and full stops go are a quick refresher "
                      "for messages like " +
                          std::string(p.runOns + p.unfinished == 1 ? "the one" : "those") +
                          " flagged here."});
}

void adviseOnRepetition(const Profile& p, std::vector<Advice>& advice)
{
    if (p.doubledWords > 0) {
        advice.push_back({"Watch for doubled words",
                          "A word was doubled " + Wording::count(p.doubledWords, "time") +
                              ", as in \u201C" + p.doubledExample + "\u201D.",
                          "Read back before sending",
                          "A quick read of each dictation catches doubled words like the " +
                              std::to_string(p.doubledWords) + " found here."});
    }
    const std::size_t weak = total(p.weakWords);
    if (weak >= 3 && p.perHundredWords(weak) >= 2.0) {
        advice.push_back(
            {"Go easy on vague and intensifying words",
             quotedCounts(p.weakWords) + " came up " + Wording::count(weak, "time") + " in " +
                 Wording::count(p.words, "word") + ". One precise word usually says more.",
             "Precise word choice",
             "Swapping an intensifier and an adjective for one exact word "
             "(\u201Cexhausted\u201D for \u201Cvery tired\u201D) tightens a message."});
    }
    if (p.topContent.empty()) {
        return;
    }
    const auto& [word, n] = p.topContent.front();
    const bool dominant = n >= 4 && p.perHundredWords(n) >= 3.0;
    if (dominant || (p.contentWords >= enoughContentWords && p.variety() < 0.4)) {
        advice.push_back({"Vary your wording",
                          Wording::quotedCount(word, n) + " leads " +
                              std::to_string(p.distinctContentWords) +
                              " different content words in " + std::to_string(p.contentWords) + ".",
                          "A thesaurus habit",
                          "Looking up alternatives for \u201C" + word +
                              "\u201D, your most repeated word, widens the words you reach for."});
    }
}

// Always something to read next, even when the texts call for no change.
nlohmann::json encouragement(const Profile& p)
{
    return {{"title", "\u201CThe Elements of Style\u201D by Strunk and White"},
            {"why", "These " + Wording::count(p.messages, "message") +
                        " already read clearly; its rule \u201Comit needless words\u201D is the "
                        "next step from there."}};
}

std::string summaryOf(const Profile& p)
{
    return "From " + Wording::count(p.messages, "message") + " (" +
           Wording::count(p.words, "word") + "): sentences average " +
           Wording::decimal(p.averageSentence()) + " words and the longest has " +
           Wording::count(p.longestSentence, "word") + "; " +
           Wording::count(total(p.fillers), "filler word") + " (" +
           Wording::decimal(p.perHundredWords(total(p.fillers))) + " per 100 words); " +
           std::to_string(p.distinctContentWords) + " different content words.";
}

} // namespace

std::optional<nlohmann::json> InsightsWriter::write(const std::vector<std::string>& samples)
{
    const Profile profile = profileOf(samples);
    if (profile.messages < minimumSamples) {
        return std::nullopt;
    }
    std::vector<Advice> advice;
    adviseOnFillers(profile, advice);
    adviseOnSentenceLength(profile, advice);
    adviseOnPunctuation(profile, advice);
    adviseOnRepetition(profile, advice);
    auto suggestions = nlohmann::json::array();
    auto resources = nlohmann::json::array();
    for (const auto& item : advice) {
        suggestions.push_back({{"title", item.title}, {"detail", item.detail}});
        resources.push_back({{"title", item.resourceTitle}, {"why", item.resourceWhy}});
    }
    if (resources.empty()) {
        resources.push_back(encouragement(profile));
    }
    return nlohmann::json{{"summary", summaryOf(profile)},
                          {"strengths", strengthsOf(profile)},
                          {"suggestions", suggestions},
                          {"resources", resources}};
}
