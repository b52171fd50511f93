#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A request's JSON object with typed access to its members. Anything malformed, missing or of the
// wrong type throws RequestError 400 naming the member. Texts are moved out of the parser, not
// copied, so a recording sent as Base64 is held once.
class RequestBody
{
public:
    static RequestBody parse(std::string_view body);

    // A member that must be a non-empty text.
    const std::string& text(const char* key) const;
    // A member that may be absent or null, and otherwise must be a text.
    std::optional<std::string> optionalText(const char* key) const;
    // A member that must be a list of texts.
    const std::vector<std::string>& texts(const char* key) const;

private:
    class Collector;
    struct Other // a number, a truth value, an object, or a list of more than texts
    {};
    using Member = std::variant<std::monostate, std::string, std::vector<std::string>, Other>;
    using Members = std::map<std::string, Member, std::less<>>;

    explicit RequestBody(Members members);
    const Member* find(const char* key) const;

    Members m_members;
};
