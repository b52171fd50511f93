#include "ChatFeedbackWriter.h"

#include <algorithm>
#include <iostream>
#include <set>

#include "Upstream.h"

namespace {

using Json = nlohmann::json;
using nlohmann::literals::operator""_json_pointer;

// Enough text to judge by, and little enough for a small model's context.
constexpr std::size_t textBudget = 24 * 1024;
constexpr std::size_t maxItems = 6;
constexpr std::size_t maxTitle = 120;
constexpr std::size_t maxText = 1500;

const std::string insightsInstructions =
    "You are a writing coach. The user message holds a JSON list of messages one person dictated "
    "by voice, as speech recognition wrote them down. Give honest, specific feedback drawn only "
    "from these texts: quote their words and counts, and say nothing about pace, voice or "
    "anything else the texts do not show. Reply with one JSON object and nothing else, of exactly "
    "this shape: {\"summary\": \"two or three sentences\", \"strengths\": [\"...\"], "
    "\"suggestions\": [{\"title\": \"...\", \"detail\": \"...\"}], \"resources\": [{\"title\": "
    "\"a book, guide or exercise\", \"why\": \"why it fits these texts\"}]}. Give one to three "
    "strengths, up to three suggestions and one to three resources; every title is short and "
    "different from the others in its list. Write in English.";

std::string recapInstructions(std::string_view period)
{
    const std::string span =
        period == "all" ? "all the time they have used Murmo" : "the past " + std::string(period);
    return "The user message holds a JSON list of the messages one person dictated by voice "
           "during " +
           span +
           ". Write them a recap of two to four sentences, in the second person, about the "
           "topics and the kinds of messages, warm and factual, inventing nothing the texts do "
           "not show. Reply with one JSON object and nothing else, of exactly this shape: "
           "{\"summary\": \"the recap\"}. Write in English.";
}

// The texts as a JSON list, as many as fit the budget.
std::string textsMessage(const std::vector<std::string>& texts)
{
    Json list = Json::array();
    std::size_t used = 0;
    for (const auto& text : texts) {
        if (used + text.size() > textBudget && !list.empty()) {
            break;
        }
        used += text.size();
        list.push_back(text);
    }
    return list.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The model's text without the Markdown fence some models put around JSON.
std::string_view unfenced(std::string_view content)
{
    const auto trim = [](std::string_view s) {
        const auto begin = s.find_first_not_of(" \t\r\n");
        const auto end = s.find_last_not_of(" \t\r\n");
        return begin == std::string_view::npos ? std::string_view()
                                               : s.substr(begin, end - begin + 1);
    };
    content = trim(content);
    if (content.starts_with("```") && content.ends_with("```") && content.size() >= 6) {
        const auto firstLine = content.find('\n');
        content = firstLine == std::string_view::npos
                      ? std::string_view()
                      : trim(content.substr(firstLine, content.size() - 3 - firstLine));
    }
    return content;
}

// A text with something in it, within the limit.
bool isText(const Json& value, std::size_t limit)
{
    if (!value.is_string()) {
        return false;
    }
    const auto& text = value.get_ref<const std::string&>();
    return text.find_first_not_of(" \t\r\n") != std::string::npos && text.size() <= limit;
}

std::optional<std::string> text(const Json& object, const char* key, std::size_t limit)
{
    const auto member = object.find(key);
    if (member == object.end() || !isText(*member, limit)) {
        return std::nullopt;
    }
    return member->get<std::string>();
}

// A list of {"title", second} objects with distinct titles: the client tells items apart by
// their titles.
std::optional<Json> titledList(const Json& reply, const char* key, const char* second)
{
    const auto list = reply.find(key);
    if (list == reply.end() || !list->is_array() || list->size() > maxItems) {
        return std::nullopt;
    }
    Json out = Json::array();
    std::set<std::string> titles;
    for (const auto& item : *list) {
        const auto title = item.is_object() ? text(item, "title", maxTitle) : std::nullopt;
        const auto body = item.is_object() ? text(item, second, maxText) : std::nullopt;
        if (!title || !body || !titles.insert(*title).second) {
            return std::nullopt;
        }
        out.push_back({{"title", *title}, {second, *body}});
    }
    return out;
}

std::optional<Json> strengthsOf(const Json& reply)
{
    const auto list = reply.find("strengths");
    const bool fits = list != reply.end() && list->is_array() && list->size() <= maxItems &&
                      std::ranges::all_of(*list, [](const Json& s) { return isText(s, maxText); });
    return fits ? std::optional<Json>(*list) : std::nullopt;
}

// The insights exactly as the client decodes them, or nothing when any part is missing, of the
// wrong kind, empty, or absurdly long. Members the client does not know are left out.
std::optional<Json> validInsights(const Json& reply)
{
    const auto summary = text(reply, "summary", maxText);
    const auto strengths = strengthsOf(reply);
    const auto suggestions = titledList(reply, "suggestions", "detail");
    const auto resources = titledList(reply, "resources", "why");
    if (!summary || !strengths || !suggestions || !resources || resources->empty()) {
        return std::nullopt;
    }
    return Json{{"summary", *summary},
                {"strengths", *strengths},
                {"suggestions", *suggestions},
                {"resources", *resources}};
}

} // namespace

ChatFeedbackWriter::ChatFeedbackWriter(const Upstream& upstream, std::string model,
                                       FeedbackWriter& fallback)
    : m_upstream(upstream)
    , m_model(std::move(model))
    , m_fallback(fallback)
{}

std::optional<Json> ChatFeedbackWriter::insights(const std::vector<std::string>& samples)
{
    auto byRules = m_fallback.insights(samples);
    if (!byRules) {
        return std::nullopt;
    }
    const auto reply = ask("insights", insightsInstructions, samples);
    if (auto written = reply ? validInsights(*reply) : std::nullopt) {
        return written;
    }
    if (reply) {
        std::clog << "murmo-backend: insights: the language model's reply does not have the "
                     "insights' shape; written by rules instead"
                  << std::endl;
    }
    return byRules;
}

std::string ChatFeedbackWriter::recap(const std::vector<std::string>& texts,
                                      std::string_view period)
{
    const bool anyText = std::ranges::any_of(
        texts, [](const auto& t) { return t.find_first_not_of(" \t\r\n") != std::string::npos; });
    const auto reply = anyText ? ask("recap", recapInstructions(period), texts) : std::nullopt;
    if (const auto summary = reply ? text(*reply, "summary", maxText) : std::nullopt) {
        return *summary;
    }
    if (reply) {
        std::clog << "murmo-backend: recap: the language model's reply has no summary text; "
                     "written by rules instead"
                  << std::endl;
    }
    return m_fallback.recap(texts, period);
}

std::optional<Json> ChatFeedbackWriter::ask(std::string_view task, const std::string& instructions,
                                            const std::vector<std::string>& texts) const
{
    const Json request = {
        {"model", m_model},
        {"messages",
         {{{"role", "system"}, {"content", instructions}},
          {{"role", "user"}, {"content", textsMessage(texts)}}}},
        {"response_format", {{"type", "json_object"}}},
        {"temperature", 0.3},
        {"stream", false},
    };
    try {
        const Json answer = m_upstream.post("chat/completions", request);
        static const auto contentPath = "/choices/0/message/content"_json_pointer;
        if (!answer.contains(contentPath) || !answer.at(contentPath).is_string()) {
            throw UpstreamError(m_upstream.name() + " answered without a message");
        }
        auto reply = Json::parse(unfenced(answer.at(contentPath).get_ref<const std::string&>()),
                                 nullptr, false);
        if (!reply.is_object()) {
            throw UpstreamError(m_upstream.name() + " wrote something that is not a JSON object");
        }
        return reply;
    } catch (const UpstreamError& error) {
        std::clog << "murmo-backend: " << task << ": " << error.what()
                  << "; written by rules instead" << std::endl;
        return std::nullopt;
    }
}
