#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <set>
#include <string>

// The connections being served, counted per client address so that one address cannot take all
// of the server's threads, and cut short together when the server stops.
class ConnectionRegistry
{
public:
    explicit ConnectionRegistry(std::size_t perAddress);

    // Registers the socket; false when its address already has perAddress connections, or the
    // server is stopping.
    bool enter(int socket, const std::string& address);
    void leave(int socket, const std::string& address);
    // Ends the reads and writes of every registered connection, and refuses new ones.
    void shutDownAll();

private:
    std::size_t m_perAddress;
    std::mutex m_mutex;
    std::map<std::string, std::size_t> m_perAddressCount;
    std::set<int> m_sockets;
    bool m_stopping = false;
};
