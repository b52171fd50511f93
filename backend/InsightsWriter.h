#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// Written feedback on a sample of dictations, from what the texts themselves show: filler words,
// sentence length, vocabulary and repetition. Deterministic; it claims nothing the texts do not
// show (the pace of speech, for one, is not in them).
class InsightsWriter
{
public:
    static constexpr std::size_t minimumSamples = 3;

    // {"summary", "strengths", "suggestions", "resources"}, or nothing when fewer than
    // minimumSamples of the samples hold any words.
    static std::optional<nlohmann::json> write(const std::vector<std::string>& samples);
};
