#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

class AudioDecoder;
class BackendStore;
class SpeechEngine;

namespace httplib {
class Server;
struct Request;
} // namespace httplib

// The HTTP side of murmo-backend: the six POST endpoints under /api, JSON in and out.
class BackendServer
{
public:
    struct Settings
    {
        // Requests served at once; the engine should have as many decoders.
        std::size_t threads = 1;
        int inviteLimit = 20;
        bool logRequests = false;
    };
    static constexpr std::size_t maxBodyBytes = 50 * 1024 * 1024;

    BackendServer(BackendStore& store, SpeechEngine& engine, const AudioDecoder& decoder,
                  Settings settings);
    ~BackendServer();
    BackendServer(const BackendServer&) = delete;
    BackendServer& operator=(const BackendServer&) = delete;

    // Binds the listening socket; port 0 picks a free port. Returns the port, or -1.
    int bind(const std::string& address, int port);
    // Serves on the bound socket until stop(); false when serving failed.
    bool serve();
    // Safe from any thread.
    void stop();

private:
    using Json = nlohmann::json;
    // Answers a request and its body with the JSON for a 200, or throws RequestError.
    using Endpoint = std::function<Json(const httplib::Request&, const std::string& body)>;

    void route(const std::string& path, Endpoint endpoint);
    // The device the request's bearer token belongs to; RequestError 401 when there is none.
    std::string authorise(const httplib::Request& request);

    Json registerDevice(const std::string& content);
    Json dictate(const httplib::Request& request, const std::string& content);
    Json reportOnboarded(const httplib::Request& request, const std::string& content);
    Json invite(const httplib::Request& request, const std::string& content);
    Json insights(const httplib::Request& request, const std::string& content);
    Json summary(const httplib::Request& request, const std::string& content);

    BackendStore& m_store;
    SpeechEngine& m_engine;
    const AudioDecoder& m_decoder;
    Settings m_settings;
    std::unique_ptr<httplib::Server> m_server;
};
