#include "RequestStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

using Milliseconds = std::chrono::milliseconds;

void numericAddress(const sockaddr_storage& address, socklen_t length, std::string& ip, int& port)
{
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
        ip = host;
        port = std::atoi(service);
    }
}

} // namespace

RequestStream::RequestStream(int socket, Milliseconds headTime, Milliseconds silenceLimit)
    : m_socket(socket)
    , m_headDeadline(Clock::now() + headTime)
    , m_silenceLimit(silenceLimit)
{}

bool RequestStream::is_readable() const
{
    return m_begin < m_end || waitFor(POLLIN);
}

bool RequestStream::is_writable() const
{
    return waitFor(POLLOUT);
}

ssize_t RequestStream::read(char* ptr, size_t size)
{
    if (m_begin == m_end) {
        if (!waitFor(POLLIN)) {
            return -1;
        }
        // A large read goes straight to the caller; small ones are served from the buffer.
        const bool direct = size >= m_buffer.size();
        char* target = direct ? ptr : m_buffer.data();
        ssize_t received = 0;
        do {
            received = recv(m_socket, target, direct ? size : m_buffer.size(), 0);
        } while (received < 0 && errno == EINTR);
        if (received <= 0 || direct) {
            return received;
        }
        m_begin = 0;
        m_end = static_cast<std::size_t>(received);
    }
    const std::size_t count = std::min(size, m_end - m_begin);
    std::memcpy(ptr, m_buffer.data() + m_begin, count);
    m_begin += count;
    return static_cast<ssize_t>(count);
}

ssize_t RequestStream::write(const char* ptr, size_t size)
{
    if (!waitFor(POLLOUT)) {
        return -1;
    }
    ssize_t sent = 0;
    do {
        sent = send(m_socket, ptr, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

void RequestStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getpeername(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        numericAddress(address, length, ip, port);
    }
}

void RequestStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        numericAddress(address, length, ip, port);
    }
}

bool RequestStream::waitFor(short events) const
{
    Milliseconds wait = m_silenceLimit;
    // Until the head is in, a client that keeps trickling bytes still runs out of time.
    if (m_headDeadline && events == POLLIN) {
        wait = std::min(wait, std::chrono::ceil<Milliseconds>(*m_headDeadline - Clock::now()));
        if (wait <= Milliseconds::zero()) {
            return false;
        }
    }
    pollfd descriptor{m_socket, events, 0};
    int ready = 0;
    do {
        ready = poll(&descriptor, 1, static_cast<int>(wait.count()));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}
