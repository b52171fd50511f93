#include "Base64.h"

#include <climits>
#include <cstdint>
#include <stdexcept>

extern "C" {
#include <libavutil/base64.h>
}

std::string Base64::encode(std::string_view bytes)
{
    if (bytes.size() > INT_MAX / 4) {
        throw std::length_error("too much data for Base64");
    }
    const auto size = static_cast<int>(bytes.size());
    std::string out(AV_BASE64_SIZE(size), '\0');
    av_base64_encode(out.data(), static_cast<int>(out.size()),
                     reinterpret_cast<const std::uint8_t*>(bytes.data()), size);
    out.pop_back(); // the terminating NUL
    return out;
}

std::optional<std::string> Base64::decode(const std::string& text)
{
    const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    if (text.size() % 4 != 0 || text.size() > INT_MAX) {
        return std::nullopt;
    }
    // The library stops at the first '=' or byte outside the alphabet; only a decode that
    // reaches the final padding has read all of the text.
    const std::size_t expected = text.size() / 4 * 3 - padding;
    std::string out(expected, '\0');
    const int decoded = av_base64_decode(reinterpret_cast<std::uint8_t*>(out.data()), text.c_str(),
                                         static_cast<int>(out.size()));
    if (decoded < 0 || static_cast<std::size_t>(decoded) != expected) {
        return std::nullopt;
    }
    return out;
}
