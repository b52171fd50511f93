#include "RuleFeedbackWriter.h"

#include "InsightsWriter.h"
#include "RecapWriter.h"

std::optional<nlohmann::json> RuleFeedbackWriter::insights(const std::vector<std::string>& samples)
{
    return InsightsWriter::write(samples);
}

std::string RuleFeedbackWriter::recap(const std::vector<std::string>& texts,
                                      std::string_view period)
{
    return RecapWriter::write(texts, period);
}
