#pragma once

#include <array>
#include <chrono>
#include <httplib.h>
#include <optional>

// An httplib stream over one accepted socket. The client has a fixed time for the whole request
// head, however slowly it trickles in, and after that may fall silent only for a while.
class RequestStream final : public httplib::Stream
{
public:
    using Clock = std::chrono::steady_clock;

    RequestStream(int socket, std::chrono::milliseconds headTime,
                  std::chrono::milliseconds silenceLimit);

    // The head is in: from now on only silence ends the request.
    void headReceived() { m_headDeadline.reset(); }
    bool headComplete() const { return !m_headDeadline; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    int socket() const override { return m_socket; }

private:
    // Whether the socket became ready for `events` before the deadline or the silence limit.
    bool waitFor(short events) const;

    int m_socket;
    std::optional<Clock::time_point> m_headDeadline;
    std::chrono::milliseconds m_silenceLimit;
    // The library reads the head a byte at a time.
    std::array<char, 4096> m_buffer{};
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};
