#include "TcpClient.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in loopback(const std::string& address, int port)
{
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr) != 1) {
        throw std::invalid_argument("not an IPv4 address: " + address);
    }
    return socketAddress;
}

} // namespace

TcpClient::TcpClient(int port, const std::string& fromAddress)
    : m_socket(socket(AF_INET, SOCK_STREAM, 0))
{
    const sockaddr_in from = loopback(fromAddress, 0);
    const sockaddr_in to = loopback("127.0.0.1", port);
    if (m_socket < 0 ||
        bind(m_socket, reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0 ||
        connect(m_socket, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (m_socket >= 0) {
            close(m_socket);
        }
        throw std::runtime_error("cannot connect to the test server from " + fromAddress);
    }
}

TcpClient::~TcpClient()
{
    close(m_socket);
}

bool TcpClient::send(std::string_view bytes)
{
    return !m_closed && ::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                            static_cast<ssize_t>(bytes.size());
}

std::string TcpClient::receive(std::chrono::milliseconds wait)
{
    std::string received;
    const auto until = std::chrono::steady_clock::now() + wait;
    pollfd descriptor{m_socket, POLLIN, 0};
    while (!m_closed) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[4096];
        const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
        m_closed = n <= 0;
        received.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    return received;
}

bool TcpClient::closedWithin(std::chrono::milliseconds wait)
{
    receive(wait);
    return m_closed;
}
