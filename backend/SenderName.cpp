#include "SenderName.h"

#include <string_view>

namespace {

// Above 60 characters even of long emoji sequences (a family with skin tones takes 41 bytes); it
// only bounds what a hostile client can store.
constexpr std::size_t maxBytes = 4096;

// The length of the UTF-8 sequence at `text`, when it is a control character or a line or
// paragraph separator (U+2028, U+2029); 0 otherwise. The text is valid UTF-8: the JSON parser
// refuses anything else.
std::size_t controlAt(std::string_view text)
{
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
    };
    if (byte(0) < 0x20 || byte(0) == 0x7F) {
        return 1;
    }
    if (byte(0) == 0xC2 && byte(1) >= 0x80 && byte(1) <= 0x9F) {
        return 2;
    }
    if (byte(0) == 0xE2 && byte(1) == 0x80 && (byte(2) == 0xA8 || byte(2) == 0xA9)) {
        return 3;
    }
    return 0;
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::optional<std::string> SenderName::sanitise(const std::optional<std::string>& name)
{
    if (!name) {
        return std::nullopt;
    }
    std::string clean;
    for (std::size_t i = 0; i < name->size();) {
        const std::size_t control = controlAt(std::string_view(*name).substr(i));
        clean += control ? ' ' : (*name)[i];
        i += control ? control : 1;
    }
    if (clean.size() > maxBytes) {
        std::size_t end = maxBytes;
        while (end > 0 && isContinuationByte(clean[end])) {
            --end;
        }
        clean.resize(end);
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}
