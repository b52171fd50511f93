#include "RequestBody.h"

#include <algorithm>

#include "RequestError.h"

namespace {

constexpr int badRequest = 400;

} // namespace

RequestBody::RequestBody(nlohmann::json json)
    : m_json(std::move(json))
{}

RequestBody RequestBody::parse(std::string_view body)
{
    auto json = nlohmann::json::parse(body, nullptr, false);
    if (json.is_discarded()) {
        throw RequestError(badRequest, "the body is not valid JSON");
    }
    if (!json.is_object()) {
        throw RequestError(badRequest, "the body must be a JSON object");
    }
    return RequestBody(std::move(json));
}

const std::string& RequestBody::text(const char* key) const
{
    const auto member = m_json.find(key);
    if (member == m_json.end() || !member->is_string() ||
        member->get_ref<const std::string&>().empty()) {
        throw RequestError(badRequest, std::string("\"") + key + "\" must be a non-empty text");
    }
    return member->get_ref<const std::string&>();
}

std::optional<std::string> RequestBody::optionalText(const char* key) const
{
    const auto member = m_json.find(key);
    if (member == m_json.end() || member->is_null()) {
        return std::nullopt;
    }
    if (!member->is_string()) {
        throw RequestError(badRequest, std::string("\"") + key + "\" must be a text");
    }
    return member->get<std::string>();
}

std::vector<std::string> RequestBody::texts(const char* key) const
{
    const auto member = m_json.find(key);
    if (member == m_json.end() || !member->is_array() ||
        !std::ranges::all_of(*member, [](const auto& item) { return item.is_string(); })) {
        throw RequestError(badRequest, std::string("\"") + key + "\" must be a list of texts");
    }
    return member->get<std::vector<std::string>>();
}
