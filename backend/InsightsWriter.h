#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// Written feedback on a sample of dictations, by rules, from what the texts themselves show:
// filler words (counted as Murmo's statistics count them), sentence length, punctuation,
// repetition and vocabulary. Each suggestion comes with a resource and why it fits, and there is
// always at least one resource. Deterministic; it claims nothing the texts do not show (the pace
// of speech, for one, is not in them).
class InsightsWriter
{
public:
    static constexpr std::size_t minimumSamples = 3;

    // {"summary", "strengths", "suggestions", "resources"}, or nothing when fewer than
    // minimumSamples of the samples hold any words.
    static std::optional<nlohmann::json> write(const std::vector<std::string>& samples);
};
