#include "ServerHarness.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>
#include <stdexcept>

#include "SqliteStatement.h"
#include "TcpClient.h"

std::string ServerHarness::Reply::text(const std::string& key) const
{
    if (!body.is_object() || !body.contains(key) || !body[key].is_string()) {
        ADD_FAILURE() << "no text \"" << key << "\" in " << body;
        return {};
    }
    return body[key];
}

ServerHarness::ServerHarness(SpeechEngine& engine, BackendServer::Settings settings,
                             std::chrono::seconds maxRecording)
    : ServerHarness(engine, m_rules, settings, maxRecording)
{}

ServerHarness::ServerHarness(SpeechEngine& engine, FeedbackWriter& writer)
    : ServerHarness(engine, writer, {}, std::chrono::minutes(10))
{}

ServerHarness::ServerHarness(SpeechEngine& engine, FeedbackWriter& writer,
                             BackendServer::Settings settings, std::chrono::seconds maxRecording)
    : m_database(m_directory.path() / "backend.sqlite3")
    , m_store(m_database)
    , m_decoder(maxRecording)
    , m_server(m_store, engine, writer, m_decoder, settings)
{
    m_port = m_server.bind("127.0.0.1", 0);
    if (m_port <= 0) {
        throw std::runtime_error("cannot bind a test server");
    }
    m_thread = std::thread([this] { m_server.serve(); });
}

ServerHarness::~ServerHarness()
{
    m_server.stop();
    m_thread.join();
}

ServerHarness::Reply ServerHarness::post(const std::string& path, const std::string& body,
                                         const std::string& token)
{
    httplib::Client client("127.0.0.1", m_port);
    client.set_read_timeout(std::chrono::seconds(60));
    client.set_write_timeout(std::chrono::seconds(60));
    httplib::Headers headers;
    if (!token.empty()) {
        headers.emplace("Authorization", "Bearer " + token);
    }
    const auto result = client.Post(path, headers, body, "application/json");
    if (!result) {
        throw std::runtime_error("no reply from the test server: " +
                                 httplib::to_string(result.error()));
    }
    return {result->status, nlohmann::json::parse(result->body, nullptr, false)};
}

ServerHarness::Reply ServerHarness::post(const std::string& path, const nlohmann::json& body,
                                         const std::string& token)
{
    return post(path, body.dump(), token);
}

std::string ServerHarness::sendRaw(const std::string& request)
{
    TcpClient connection(m_port);
    connection.send(request);
    return connection.receive(std::chrono::seconds(30));
}

std::string ServerHarness::registerDevice(const std::string& device)
{
    return post("/api/register", nlohmann::json{{"device", device}}).text("token");
}

std::string ServerHarness::query(const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(m_database.c_str(), &db);
    std::string value;
    {
        SqliteStatement statement(db, sql);
        value = statement.step() ? statement.text(0) : "";
    }
    sqlite3_close(db);
    return value;
}
