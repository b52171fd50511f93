#include "Upstream.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ok = 200;
constexpr auto longestConnect = std::chrono::seconds(10);
// How much of an error reply is worth quoting.
constexpr std::size_t detailLimit = 200;

struct Url
{
    std::string scheme;
    std::string host; // IPv6 literals keep their brackets
    std::string port; // empty for the scheme's own
    std::string path;
};

bool isLoopback(const std::string& host)
{
    in_addr address{};
    return host == "localhost" || host == "[::1]" ||
           (inet_pton(AF_INET, host.c_str(), &address) == 1 &&
            (ntohl(address.s_addr) >> 24) == 127);
}

std::string portOf(const std::string& text, const std::string& url)
{
    const bool digits = !text.empty() && text.size() <= 5 &&
                        std::ranges::all_of(text, [](unsigned char c) { return std::isdigit(c); });
    const int port = digits ? std::stoi(text) : 0;
    if (port < 1 || port > 65535) {
        throw std::invalid_argument(url + " has no valid port");
    }
    return text;
}

Url parseUrl(const std::string& url)
{
    Url parsed;
    const std::size_t schemeEnd = url.find("://");
    parsed.scheme = schemeEnd == std::string::npos ? "" : url.substr(0, schemeEnd);
    if (parsed.scheme != "http" && parsed.scheme != "https") {
        throw std::invalid_argument(url + " is not an http:// or https:// address");
    }
    const std::size_t hostStart = schemeEnd + 3;
    const std::size_t pathStart = std::min(url.find('/', hostStart), url.size());
    const std::string authority = url.substr(hostStart, pathStart - hostStart);
    parsed.path = url.substr(pathStart);
    if (authority.find('@') != std::string::npos) {
        throw std::invalid_argument(url + " holds a user name or password; give keys in a key "
                                          "file instead");
    }
    if (parsed.path.find_first_of("?#") != std::string::npos) {
        throw std::invalid_argument(url + " has a query or fragment");
    }
    const std::size_t hostEnd =
        authority.starts_with('[') ? authority.find(']') + 1 : authority.find(':');
    parsed.host = authority.substr(0, hostEnd);
    const bool portGiven = hostEnd < authority.size() && hostEnd != 0;
    if (parsed.host.empty() || (portGiven && authority[hostEnd] != ':')) {
        throw std::invalid_argument(url + " has no valid host");
    }
    parsed.port = portGiven ? portOf(authority.substr(hostEnd + 1), url) : std::string();
    if (parsed.scheme == "http" && !isLoopback(parsed.host)) {
        throw std::invalid_argument(url + " is plain http to another machine; the key and the "
                                          "dictations would cross the network readable: use "
                                          "https");
    }
    return parsed;
}

std::string basePathOf(std::string path)
{
    while (path.ends_with('/')) {
        path.pop_back();
    }
    return path.empty() ? "/v1" : path;
}

std::string seconds(std::chrono::milliseconds duration)
{
    const auto whole = std::chrono::duration_cast<std::chrono::seconds>(duration);
    return whole == duration ? std::to_string(whole.count()) + " s"
                             : std::to_string(duration.count()) + " ms";
}

// Control characters and line breaks from another server stay out of our log lines.
std::string printable(std::string text)
{
    std::ranges::replace_if(
        text, [](unsigned char c) { return c < 0x20 || c == 0x7F; }, ' ');
    return text;
}

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (auto at = text.find(what); !what.empty() && at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
}

} // namespace

Upstream::Upstream(std::string name, Settings settings)
    : m_name(std::move(name))
    , m_settings(std::move(settings))
{
    const Url url = parseUrl(m_settings.url);
    m_origin = url.scheme + "://" + url.host + (url.port.empty() ? "" : ":" + url.port);
    m_basePath = basePathOf(url.path);
}

std::string Upstream::address(std::string_view endpoint) const
{
    return m_origin + m_basePath + "/" + std::string(endpoint);
}

nlohmann::json Upstream::post(std::string_view endpoint,
                              const httplib::MultipartFormDataItems& form) const
{
    return exchange(endpoint, [&form](httplib::Client& client, const std::string& path) {
        return client.Post(path, form);
    });
}

nlohmann::json Upstream::post(std::string_view endpoint, const nlohmann::json& body) const
{
    const std::string text = body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return exchange(endpoint, [&text](httplib::Client& client, const std::string& path) {
        return client.Post(path, text, "application/json");
    });
}

nlohmann::json Upstream::exchange(std::string_view endpoint, const Send& send) const
{
    httplib::Client client(m_origin);
    client.set_connection_timeout(
        std::min<std::chrono::milliseconds>(m_settings.timeout, longestConnect));
    client.set_read_timeout(m_settings.timeout);
    client.set_write_timeout(m_settings.timeout);
    if (!m_settings.key.empty()) {
        client.set_bearer_token_auth(m_settings.key);
    }
    const auto started = Clock::now();
    const httplib::Result result = send(client, m_basePath + "/" + std::string(endpoint));
    if (!result) {
        throw UpstreamError(describe(result.error(), Clock::now() - started));
    }
    if (result->status != ok) {
        throw UpstreamError(m_name + " answered " + std::to_string(result->status) +
                            detailOf(*result));
    }
    auto reply = nlohmann::json::parse(result->body, nullptr, false);
    if (reply.is_discarded()) {
        throw UpstreamError(m_name + " answered with something that is not JSON");
    }
    return reply;
}

std::string Upstream::describe(httplib::Error error, Clock::duration waited) const
{
    const std::string where = m_name + " at " + m_origin;
    switch (error) {
    case httplib::Error::Connection:
    case httplib::Error::ConnectionTimeout:
        return where + " cannot be reached";
    case httplib::Error::SSLConnection:
        return where + " failed the TLS handshake";
    case httplib::Error::SSLServerVerification:
        return where + " has a TLS certificate that cannot be verified";
    case httplib::Error::SSLLoadingCerts:
        return "the system's CA certificates cannot be loaded to check " + where;
    case httplib::Error::Read:
        if (waited >= m_settings.timeout) {
            return m_name + " did not answer within " + seconds(m_settings.timeout);
        }
        return m_name + " closed the connection without answering";
    default:
        return "the request to " + where + " failed (" + httplib::to_string(error) + ")";
    }
}

// What an error reply says about itself: the "message" of an OpenAI-style error object, or the
// start of the body. The key is blanked out in case the service quotes it back.
std::string Upstream::detailOf(const httplib::Response& response) const
{
    const auto body = nlohmann::json::parse(response.body, nullptr, false);
    std::string detail = response.body;
    if (body.is_object() && body.contains("error")) {
        const auto& error = body["error"];
        detail = error.is_string() ? error.get<std::string>()
                 : error.is_object() && error.contains("message") && error["message"].is_string()
                     ? error["message"].get<std::string>()
                     : detail;
    }
    replaceAll(detail, m_settings.key, "[key]");
    detail = printable(detail.substr(0, detailLimit));
    return detail.empty() ? std::string() : ": " + detail;
}
