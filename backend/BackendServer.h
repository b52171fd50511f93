#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "BackendStore.h"
#include "BoundedHttpServer.h"
#include "MemoryBudget.h"

class AudioDecoder;
class FeedbackWriter;
class SpeechEngine;
struct Speech;

// The HTTP side of murmo-backend: the six POST endpoints under /api, JSON in and out.
class BackendServer
{
public:
    struct Settings
    {
        BoundedHttpServer::Limits http;
        // Request bodies held in memory at once; a larger body is read alone.
        std::size_t bodyBudget = 64 * 1024 * 1024;
        BackendStore::InviteLimits invites;
        int registrationsPerAddressPerHour = 20;
        bool logRequests = false;
    };
    static constexpr std::size_t maxBodyBytes = 50 * 1024 * 1024;

    BackendServer(BackendStore& store, SpeechEngine& engine, FeedbackWriter& writer,
                  const AudioDecoder& decoder, Settings settings);
    ~BackendServer();
    BackendServer(const BackendServer&) = delete;
    BackendServer& operator=(const BackendServer&) = delete;

    // Binds the listening socket; port 0 picks a free port. Returns the port, or -1.
    int bind(const std::string& address, int port);
    // Serves on the bound socket until stop(); false when serving failed.
    bool serve();
    // Safe from any thread; requests still in progress are cut short.
    void stop();

private:
    using Json = nlohmann::json;
    // One request on its way through an endpoint.
    struct Call
    {
        const httplib::Request& request;
        std::string device; // whose token came with it; empty for registration
        std::string body;
        MemoryBudget::Share memory; // the body's share of the budget
    };
    // Answers a call with the JSON for a 200, or throws RequestError.
    using Endpoint = std::function<Json(Call&)>;
    struct Route
    {
        bool needsToken = true;
        std::size_t maxBody = 64 * 1024;
    };

    void route(const std::string& path, Route route, Endpoint endpoint);
    // The device the request's bearer token belongs to; RequestError 401 when there is none.
    std::string authorise(const httplib::Request& request);

    Json registerDevice(Call& call);
    Json dictate(Call& call);
    // The engine's transcript; a language it cannot hear is a 400, a failed upstream a 502.
    std::string transcribe(const Speech& speech);
    Json reportOnboarded(Call& call);
    Json invite(Call& call);
    Json insights(Call& call);
    Json summary(Call& call);

    BackendStore& m_store;
    SpeechEngine& m_engine;
    FeedbackWriter& m_writer;
    const AudioDecoder& m_decoder;
    Settings m_settings;
    MemoryBudget m_budget;
    std::unique_ptr<BoundedHttpServer> m_server;
};
