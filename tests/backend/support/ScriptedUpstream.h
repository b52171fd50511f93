#pragma once

#include <condition_variable>
#include <deque>
#include <httplib.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An OpenAI-compatible service on 127.0.0.1 and a free port that answers each request with the
// next scripted reply, keeps what it was sent, and answers 500 when the script has run out.
class ScriptedUpstream
{
public:
    struct Reply
    {
        int status = 200;
        std::string body;
        bool silent = false; // say nothing until the upstream is destroyed
    };
    struct Received
    {
        std::string path;
        httplib::Headers headers;
        httplib::MultipartFormDataMap fields;
        std::string body; // empty for a multipart form

        std::string header(const std::string& name) const;
        // The field's content; empty when it was not sent.
        std::string field(const std::string& name) const;
    };

    ScriptedUpstream();
    ~ScriptedUpstream();
    ScriptedUpstream(const ScriptedUpstream&) = delete;
    ScriptedUpstream& operator=(const ScriptedUpstream&) = delete;

    void script(Reply reply);
    // A 200 reply with a JSON body.
    void scriptJson(const std::string& json) { script({200, json}); }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    std::vector<Received> received() const;

private:
    void answer(const httplib::Request& request, httplib::Response& response);

    httplib::Server m_server;
    int m_port = -1;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_stopping = false;
    std::deque<Reply> m_script;
    std::vector<Received> m_received;
    std::thread m_thread;
};
