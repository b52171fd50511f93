#pragma once

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "AudioDecoder.h"
#include "BackendServer.h"
#include "BackendStore.h"
#include "RuleFeedbackWriter.h"
#include "TempDirectory.h"

class SpeechEngine;

// A BackendServer on 127.0.0.1 and a free port, serving from a thread, with its database in a
// temporary directory; and a client for it.
class ServerHarness
{
public:
    struct Reply
    {
        int status = 0;
        nlohmann::json body; // discarded when the reply was not JSON

        // The text member `key`, or empty (and the test fails) when there is none.
        std::string text(const std::string& key) const;
    };

    explicit ServerHarness(SpeechEngine& engine, BackendServer::Settings settings = {},
                           std::chrono::seconds maxRecording = std::chrono::minutes(10));
    // With insights and recaps from `writer` instead of the rules.
    ServerHarness(SpeechEngine& engine, FeedbackWriter& writer);
    ~ServerHarness();

    Reply post(const std::string& path, const std::string& body, const std::string& token = {});
    Reply post(const std::string& path, const nlohmann::json& body, const std::string& token = {});
    // Sends the bytes as they are and returns the raw reply, for requests a client library will
    // not make.
    std::string sendRaw(const std::string& request);
    std::string registerDevice(const std::string& device);
    // The first column of the first row of a query on the server's database, as text.
    std::string query(const std::string& sql);
    const std::filesystem::path& database() const { return m_database; }
    int port() const { return m_port; }

private:
    ServerHarness(SpeechEngine& engine, FeedbackWriter& writer, BackendServer::Settings settings,
                  std::chrono::seconds maxRecording);

    TempDirectory m_directory;
    std::filesystem::path m_database;
    BackendStore m_store;
    RuleFeedbackWriter m_rules;
    AudioDecoder m_decoder;
    BackendServer m_server;
    int m_port = -1;
    std::thread m_thread;
};
