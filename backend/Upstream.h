#pragma once

#include <chrono>
#include <functional>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

// Why an upstream service gave no usable answer, in words for the log and the client's "error".
class UpstreamError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An OpenAI-compatible HTTP service murmo-backend hands work to (a transcription server, a
// language model): where it is, the key that opens it and how long it may stay silent. Each call
// is one request on a connection of its own; nothing is sent twice, and redirects are not
// followed, so the key never leaves the service's origin.
class Upstream
{
public:
    struct Settings
    {
        // http(s)://host[:port][/path]: the path up to and including its "/v1", or empty for
        // "/v1". Plain http is accepted only for this machine.
        std::string url;
        std::string key; // sent as a bearer token; empty sends none
        std::chrono::milliseconds timeout{std::chrono::minutes(2)};
    };

    // `name` says what the service is in messages ("the transcription service"). Throws
    // std::invalid_argument saying what is wrong with the URL.
    Upstream(std::string name, Settings settings);

    // The JSON a POST to `endpoint` under the base path ("audio/transcriptions") was answered
    // with, status 200. Throws UpstreamError when the service cannot be reached, stays silent
    // past the time-out, answers another status or anything but JSON.
    nlohmann::json post(std::string_view endpoint,
                        const httplib::MultipartFormDataItems& form) const;
    nlohmann::json post(std::string_view endpoint, const nlohmann::json& body) const;

    const std::string& name() const { return m_name; }
    // The endpoint's URL, for messages.
    std::string address(std::string_view endpoint) const;
    std::chrono::milliseconds timeout() const { return m_settings.timeout; }

private:
    using Send = std::function<httplib::Result(httplib::Client&, const std::string& path)>;

    nlohmann::json exchange(std::string_view endpoint, const Send& send) const;
    std::string describe(httplib::Error error, std::chrono::steady_clock::duration waited) const;
    std::string detailOf(const httplib::Response& response) const;

    std::string m_name;
    Settings m_settings;
    std::string m_origin;   // scheme://host[:port]
    std::string m_basePath; // "/v1", "/openai/v1"
};
