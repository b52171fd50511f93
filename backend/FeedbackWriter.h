#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writes the insights on a sample of dictations and the recap of a statistics period.
class FeedbackWriter
{
public:
    virtual ~FeedbackWriter() = default;
    // {"summary", "strengths", "suggestions", "resources"}, or nothing when fewer than
    // InsightsWriter::minimumSamples samples hold any words.
    virtual std::optional<nlohmann::json> insights(const std::vector<std::string>& samples) = 0;
    // The recap of the texts of one period, "week", "month", "year" or "all".
    virtual std::string recap(const std::vector<std::string>& texts, std::string_view period) = 0;
};
