#pragma once

#include <optional>
#include <string>

// The name an invitation is sent in. The client sends whatever the system knows the user as (up
// to 60 characters, any of them); it is never refused, only made safe for a mail header.
class SenderName
{
public:
    // Control characters and line separators become spaces, the ends are trimmed and the length
    // is bounded; none when nothing is left.
    static std::optional<std::string> sanitise(const std::optional<std::string>& name);
};
