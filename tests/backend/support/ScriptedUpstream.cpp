#include "ScriptedUpstream.h"

#include <chrono>
#include <stdexcept>

std::string ScriptedUpstream::Received::header(const std::string& name) const
{
    const auto found = headers.find(name);
    return found == headers.end() ? std::string() : found->second;
}

std::string ScriptedUpstream::Received::field(const std::string& name) const
{
    const auto found = fields.find(name);
    return found == fields.end() ? std::string() : found->second.content;
}

ScriptedUpstream::ScriptedUpstream()
{
    m_server.Post(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        answer(request, response);
    });
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
        throw std::runtime_error("cannot bind a scripted upstream");
    }
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // stop() does nothing to a server not yet running, which would then never end.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!m_server.is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

ScriptedUpstream::~ScriptedUpstream()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_released.notify_all();
    m_server.stop();
    m_thread.join();
}

void ScriptedUpstream::script(Reply reply)
{
    const std::lock_guard lock(m_mutex);
    m_script.push_back(std::move(reply));
}

std::vector<ScriptedUpstream::Received> ScriptedUpstream::received() const
{
    const std::lock_guard lock(m_mutex);
    return m_received;
}

void ScriptedUpstream::answer(const httplib::Request& request, httplib::Response& response)
{
    std::unique_lock lock(m_mutex);
    m_received.push_back({request.path, request.headers, request.files,
                          request.is_multipart_form_data() ? std::string() : request.body});
    Reply reply{500, R"({"error":"unscripted"})"};
    if (!m_script.empty()) {
        reply = std::move(m_script.front());
        m_script.pop_front();
    }
    if (reply.silent) {
        m_released.wait(lock, [this] { return m_stopping; });
    }
    response.status = reply.status;
    response.set_content(reply.body, "application/json");
}
