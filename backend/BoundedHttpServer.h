#pragma once

#include <chrono>
#include <httplib.h>

#include "ConnectionRegistry.h"

// An httplib server that a few slow or idle clients cannot stall: every connection carries one
// request, whose head must arrive within a fixed time; one client address may hold only a few of
// the threads; and a refused or unread request still gets its answer before the connection closes.
class BoundedHttpServer : public httplib::Server
{
public:
    struct Limits
    {
        std::size_t threads = 64;
        std::size_t connectionsPerAddress = 16;
        std::chrono::milliseconds headTime = std::chrono::seconds(10);
        std::chrono::milliseconds silenceLimit = std::chrono::seconds(30);
    };

    explicit BoundedHttpServer(Limits limits);

    // Binds and listens; port 0 picks a free port. Returns the port, or -1.
    int bindTo(const std::string& address, int port);
    // Stops listening and cuts short the requests in progress.
    void stopNow();

private:
    bool process_and_close_socket(socket_t socket) override;

    Limits m_limits;
    ConnectionRegistry m_connections;
};
