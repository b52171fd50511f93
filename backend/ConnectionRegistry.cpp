#include "ConnectionRegistry.h"

#include <sys/socket.h>

ConnectionRegistry::ConnectionRegistry(std::size_t perAddress)
    : m_perAddress(perAddress)
{}

bool ConnectionRegistry::enter(int socket, const std::string& address)
{
    const std::lock_guard lock(m_mutex);
    std::size_t& count = m_perAddressCount[address];
    if (m_stopping || count >= m_perAddress) {
        if (count == 0) {
            m_perAddressCount.erase(address);
        }
        return false;
    }
    ++count;
    m_sockets.insert(socket);
    return true;
}

void ConnectionRegistry::leave(int socket, const std::string& address)
{
    const std::lock_guard lock(m_mutex);
    m_sockets.erase(socket);
    if (--m_perAddressCount[address] == 0) {
        m_perAddressCount.erase(address);
    }
}

void ConnectionRegistry::shutDownAll()
{
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
    for (const int socket : m_sockets) {
        shutdown(socket, SHUT_RDWR);
    }
}
