#pragma once

#include <optional>
#include <string>
#include <string_view>

// Standard Base64 (RFC 4648 alphabet, padded, no line breaks). Decoding is strict: text that is not
// exactly that is refused rather than guessed at, so corrupt uploads fail loudly.
class Base64
{
public:
    static std::string encode(std::string_view bytes);
    static std::optional<std::string> decode(const std::string& text);
};
