#pragma once

#include "FeedbackWriter.h"

// Insights and recaps by the backend's own rules: instant, offline and always well-formed.
class RuleFeedbackWriter : public FeedbackWriter
{
public:
    std::optional<nlohmann::json> insights(const std::vector<std::string>& samples) override;
    std::string recap(const std::vector<std::string>& texts, std::string_view period) override;
};
