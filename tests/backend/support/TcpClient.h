#pragma once

#include <chrono>
#include <string>
#include <string_view>

// A plain TCP connection to a server on this machine, from a chosen loopback address (any of
// 127.0.0.0/8 works on Linux), for requests no HTTP client library would make.
class TcpClient
{
public:
    TcpClient(int port, const std::string& fromAddress = "127.0.0.1");
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // False once the server has closed the connection.
    bool send(std::string_view bytes);
    // What the server sent until it closed the connection, or until `wait` passed.
    std::string receive(std::chrono::milliseconds wait);
    // Whether the server closed the connection within `wait`; what it sent is dropped.
    bool closedWithin(std::chrono::milliseconds wait);

private:
    int m_socket = -1;
    bool m_closed = false;
};
