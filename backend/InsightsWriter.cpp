#include "InsightsWriter.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "TextAnalysis.h"
#include "Wording.h"

namespace {

using Words = std::vector<std::string>;
using Counts = std::vector<TextAnalysis::WordCount>;

constexpr auto fillers =
    std::to_array<std::string_view>({"um", "uh", "uhm", "er", "erm", "ah", "hmm", "you know",
                                     "i mean", "basically", "literally", "actually", "kinda"});
constexpr auto intensifiers =
    std::to_array<std::string_view>({"really", "very", "totally", "super", "extremely"});

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
    Counts fillers;
    Counts intensifiers;
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

// Adds the occurrences of each phrase (one or two words) in the word sequence.
template<std::size_t N>
void countPhrases(const Words& words, const std::array<std::string_view, N>& phrases,
                  std::map<std::string, std::size_t>& counts)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string pair = i + 1 < words.size() ? words[i] + " " + words[i + 1] : "";
        for (const auto phrase : phrases) {
            if (phrase == words[i] || phrase == pair) {
                ++counts[std::string(phrase)];
            }
        }
    }
}

Counts ranked(const std::map<std::string, std::size_t>& counts)
{
    Counts result(counts.begin(), counts.end());
    std::ranges::stable_sort(result,
                             [](const auto& a, const auto& b) { return a.second > b.second; });
    return result;
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

Profile profileOf(const std::vector<std::string>& samples)
{
    Profile profile;
    std::map<std::string, std::size_t> fillerCounts;
    std::map<std::string, std::size_t> intensifierCounts;
    std::set<std::string> distinct;
    for (const auto& sample : samples) {
        const Words words = TextAnalysis::words(sample);
        profile.messages += words.empty() ? 0 : 1;
        profile.words += words.size();
        for (const auto& sentence : TextAnalysis::sentences(sample)) {
            addSentence(profile, sentence);
        }
        countPhrases(words, fillers, fillerCounts);
        countPhrases(words, intensifiers, intensifierCounts);
        for (const auto& word : words) {
            if (!TextAnalysis::isStopWord(word) && word.size() > 1) {
                ++profile.contentWords;
                distinct.insert(word);
            }
        }
    }
    profile.distinctContentWords = distinct.size();
    profile.fillers = ranked(fillerCounts);
    profile.intensifiers = ranked(intensifierCounts);
    profile.topContent = TextAnalysis::topContentWords(samples, 1, 2);
    return profile;
}

// Vocabulary figures mean little on a handful of words.
constexpr std::size_t enoughContentWords = 30;

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
    if (p.perHundredWords(n) < 2.0) {
        return;
    }
    advice.push_back({"Cut the filler words",
                      "Filler words came up " + Wording::count(n, "time") + " in " +
                          Wording::count(p.words, "word") + " (" +
                          Wording::decimal(p.perHundredWords(n)) +
                          " per 100): " + quotedCounts(p.fillers) +
                          ". A short pause does the same job and reads cleaner.",
                      "Pause instead of filling",
                      "Practising a silent pause where a filler would go targets the " +
                          std::to_string(n) + " fillers in these messages directly."});
}

void adviseOnSentenceLength(const Profile& p, std::vector<Advice>& advice)
{
    const std::string average = Wording::decimal(p.averageSentence());
    if (p.averageSentence() > 25 || p.longestSentence > 40) {
        advice.push_back(
            {"Break up long sentences",
             "Your sentences average " + average + " words and the longest runs to " +
                 std::to_string(p.longestSentence) + ". One idea per sentence is easier to follow.",
             "One idea per sentence",
             "Rewriting your longest sentence (" + Wording::count(p.longestSentence, "word") +
                 ") as two or three shorter ones is a quick exercise in clarity."});
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
    const std::size_t intensifierCount = total(p.intensifiers);
    if (p.perHundredWords(intensifierCount) >= 2.0) {
        advice.push_back(
            {"Go easy on intensifiers",
             quotedCounts(p.intensifiers) + " came up " + Wording::count(intensifierCount, "time") +
                 " in " + Wording::count(p.words, "word") + ". One precise word usually says more.",
             "Precise word choice",
             "Swapping an intensifier and an adjective for one exact word "
             "(\u201Cexhausted\u201D for \u201Cvery tired\u201D) tightens a message."});
    }
    if (p.contentWords >= enoughContentWords && p.variety() < 0.4 && !p.topContent.empty()) {
        const auto& [word, n] = p.topContent.front();
        advice.push_back({"Vary your wording",
                          "Only " + std::to_string(p.distinctContentWords) +
                              " different content words in " + std::to_string(p.contentWords) +
                              "; " + Wording::quotedCount(word, n) + " leads them.",
                          "A thesaurus habit",
                          "Looking up alternatives for \u201C" + word +
                              "\u201D, your most repeated word, widens the words you reach for."});
    }
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
    adviseOnRepetition(profile, advice);
    auto suggestions = nlohmann::json::array();
    auto resources = nlohmann::json::array();
    for (const auto& item : advice) {
        suggestions.push_back({{"title", item.title}, {"detail", item.detail}});
        resources.push_back({{"title", item.resourceTitle}, {"why", item.resourceWhy}});
    }
    return nlohmann::json{{"summary", summaryOf(profile)},
                          {"strengths", strengthsOf(profile)},
                          {"suggestions", suggestions},
                          {"resources", resources}};
}
