#include "BoundedHttpServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "RequestStream.h"

namespace {

const std::string& tooManyConnections()
{
    static const std::string body = R"({"error":"too many connections from your address"})";
    static const std::string response = "HTTP/1.1 503 Service Unavailable\r\n"
                                        "Content-Type: application/json\r\n"
                                        "Content-Length: " +
                                        std::to_string(body.size()) +
                                        "\r\n"
                                        "Connection: close\r\n\r\n" +
                                        body;
    return response;
}

// How long a closing connection may still deliver what the client was sending.
constexpr int lingerMs = 2000;

// The reply may be out while the client is still sending a body nobody will read. Closing a socket
// with unread data resets the connection, and the client would lose the reply; so the rest is read
// and dropped for a short while first.
void drainUnreadBody(int socket)
{
    shutdown(socket, SHUT_WR);
    char sink[16 * 1024];
    pollfd descriptor{socket, POLLIN, 0};
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(lingerMs);
    for (auto left = lingerMs; left > 0 && poll(&descriptor, 1, left) > 0;) {
        if (recv(socket, sink, sizeof sink, 0) <= 0) {
            break;
        }
        left = static_cast<int>(
            std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now())
                .count());
    }
}

} // namespace

BoundedHttpServer::BoundedHttpServer(Limits limits)
    : m_limits(limits)
    , m_connections(limits.connectionsPerAddress)
{
    new_task_queue = [threads = m_limits.threads] { return new httplib::ThreadPool(threads); };
}

int BoundedHttpServer::bindTo(const std::string& address, int port)
{
    int bound = -1;
    if (port == 0) {
        bound = bind_to_any_port(address);
    } else if (bind_to_port(address, port)) {
        bound = port;
    }
    // The library listens with a backlog of 5: a burst of connections would wait for the
    // client's SYN to be sent again, a second or more, before a thread ever sees them.
    if (bound > 0) {
        ::listen(svr_sock_, SOMAXCONN);
    }
    return bound;
}

void BoundedHttpServer::stopNow()
{
    stop();
    m_connections.shutDownAll();
}

bool BoundedHttpServer::process_and_close_socket(socket_t socket)
{
    RequestStream stream(socket, m_limits.headTime, m_limits.silenceLimit);
    std::string address;
    int port = 0;
    stream.get_remote_ip_and_port(address, port);
    if (!m_connections.enter(socket, address)) {
        stream.write(tooManyConnections().data(), tooManyConnections().size());
        close(socket);
        return false;
    }
    bool closedByClient = false;
    const bool served = process_request(stream, true, closedByClient,
                                        [&stream](httplib::Request&) { stream.headReceived(); });
    // A client too slow to send its head gets no more of the server's time.
    if (stream.headComplete()) {
        drainUnreadBody(socket);
    }
    m_connections.leave(socket, address);
    close(socket);
    return served;
}
