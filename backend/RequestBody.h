#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A request's JSON object with typed access to its members. Anything malformed, missing or of the
// wrong type throws RequestError 400 naming the member.
class RequestBody
{
public:
    static RequestBody parse(std::string_view body);

    // A member that must be a non-empty text.
    const std::string& text(const char* key) const;
    // A member that may be absent or null, and otherwise must be a text.
    std::optional<std::string> optionalText(const char* key) const;
    // A member that must be a list of texts.
    std::vector<std::string> texts(const char* key) const;

private:
    explicit RequestBody(nlohmann::json json);

    nlohmann::json m_json;
};
