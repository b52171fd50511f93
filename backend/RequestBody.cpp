#include "RequestBody.h"

#include <nlohmann/json.hpp>

#include "RequestError.h"

namespace {

constexpr int badRequest = 400;

RequestError wrongMember(const char* key, const char* expectation)
{
    return RequestError(badRequest, std::string("\"") + key + "\" " + expectation);
}

} // namespace

// Keeps the members of the outermost object: nulls, texts and lists of texts as they are, anything
// else only as being something else.
class RequestBody::Collector final : public nlohmann::json_sax<nlohmann::json>
{
public:
    bool null() override { return value(std::monostate()); }
    bool boolean(bool) override { return value(Other()); }
    bool number_integer(number_integer_t) override { return value(Other()); }
    bool number_unsigned(number_unsigned_t) override { return value(Other()); }
    bool number_float(number_float_t, const string_t&) override { return value(Other()); }
    bool binary(binary_t&) override { return value(Other()); }

    bool string(string_t& text) override
    {
        auto* list = m_depth == 2 ? std::get_if<std::vector<std::string>>(&member()) : nullptr;
        if (list) {
            list->push_back(std::move(text));
            return true;
        }
        return value(std::move(text));
    }

    bool key(string_t& name) override
    {
        if (m_depth == 1) {
            m_key = std::move(name);
        }
        return true;
    }

    bool start_object(std::size_t) override
    {
        m_isObject |= m_depth == 0;
        if (m_depth > 0) {
            value(Other());
        }
        ++m_depth;
        return true;
    }

    bool start_array(std::size_t) override
    {
        if (m_depth == 1) {
            member() = std::vector<std::string>();
        } else {
            value(Other());
        }
        ++m_depth;
        return true;
    }

    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        return false;
    }

    bool isObject() const { return m_isObject; }
    Members take() { return std::move(m_members); }

private:
    Member& member() { return m_members[m_key]; }

    // A value directly in the object is a member; one further in spoils the member it is in.
    bool value(Member value)
    {
        if (m_depth == 1) {
            member() = std::move(value);
        } else if (m_depth > 1) {
            member() = Other();
        }
        return true;
    }

    bool close()
    {
        --m_depth;
        return true;
    }

    Members m_members;
    std::string m_key;
    std::size_t m_depth = 0;
    bool m_isObject = false;
};

RequestBody::RequestBody(Members members)
    : m_members(std::move(members))
{}

RequestBody RequestBody::parse(std::string_view body)
{
    Collector collector;
    if (!nlohmann::json::sax_parse(body, &collector)) {
        throw RequestError(badRequest, "the body is not valid JSON");
    }
    if (!collector.isObject()) {
        throw RequestError(badRequest, "the body must be a JSON object");
    }
    return RequestBody(collector.take());
}

const std::string& RequestBody::text(const char* key) const
{
    const Member* member = find(key);
    const auto* text = member ? std::get_if<std::string>(member) : nullptr;
    if (!text || text->empty()) {
        throw wrongMember(key, "must be a non-empty text");
    }
    return *text;
}

std::optional<std::string> RequestBody::optionalText(const char* key) const
{
    const Member* member = find(key);
    if (!member || std::holds_alternative<std::monostate>(*member)) {
        return std::nullopt;
    }
    if (const auto* text = std::get_if<std::string>(member)) {
        return *text;
    }
    throw wrongMember(key, "must be a text");
}

const std::vector<std::string>& RequestBody::texts(const char* key) const
{
    const Member* member = find(key);
    const auto* list = member ? std::get_if<std::vector<std::string>>(member) : nullptr;
    if (!list) {
        throw wrongMember(key, "must be a list of texts");
    }
    return *list;
}

const RequestBody::Member* RequestBody::find(const char* key) const
{
    const auto member = m_members.find(std::string_view(key));
    return member == m_members.end() ? nullptr : &member->second;
}
