#pragma once

#include <string>

#include "FeedbackWriter.h"

class Upstream;

// Insights and recaps written by a language model behind an OpenAI-compatible chat-completions
// endpoint (llama.cpp's server, Ollama, a hosted service). The prompt demands the reply's JSON
// shape and the reply is checked strictly: whatever does not fit, and any failure of the model's
// server, is logged and answered by the rules instead, so the client always gets a well-formed
// answer. Too few samples are refused by the rules without asking the model.
class ChatFeedbackWriter : public FeedbackWriter
{
public:
    ChatFeedbackWriter(const Upstream& upstream, std::string model, FeedbackWriter& fallback);

    std::optional<nlohmann::json> insights(const std::vector<std::string>& samples) override;
    std::string recap(const std::vector<std::string>& texts, std::string_view period) override;

private:
    // The JSON object the model wrote in answer to the instructions and the texts; nothing (and a
    // log line) when there is none.
    std::optional<nlohmann::json> ask(std::string_view task, const std::string& instructions,
                                      const std::vector<std::string>& texts) const;

    const Upstream& m_upstream;
    std::string m_model;
    FeedbackWriter& m_fallback;
};
