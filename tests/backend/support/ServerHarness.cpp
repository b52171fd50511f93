#include "ServerHarness.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

#include "SqliteStatement.h"

ServerHarness::ServerHarness(SpeechEngine& engine, int inviteLimit,
                             std::chrono::seconds maxRecording)
    : m_store(m_directory.path() / "backend.sqlite3")
    , m_decoder(maxRecording)
    , m_server(m_store, engine, m_decoder, {2, inviteLimit, false})
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
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
        char buffer[4096];
        for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) {
            reply.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fd);
    return reply;
}

std::string ServerHarness::registerDevice(const std::string& device)
{
    return post("/api/register", nlohmann::json{{"device", device}}).body.at("token");
}

std::string ServerHarness::query(const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open((m_directory.path() / "backend.sqlite3").c_str(), &db);
    std::string value;
    {
        SqliteStatement statement(db, sql);
        value = statement.step() ? statement.text(0) : "";
    }
    sqlite3_close(db);
    return value;
}
