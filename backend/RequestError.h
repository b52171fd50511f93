#pragma once

#include <stdexcept>
#include <string>

// A request the server refuses: the HTTP status to answer and the message for its "error" member.
class RequestError : public std::runtime_error
{
public:
    RequestError(int status, const std::string& message)
        : std::runtime_error(message)
        , m_status(status)
    {}

    int status() const { return m_status; }

private:
    int m_status;
};
