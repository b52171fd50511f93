#include "EmailAddress.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t maxAddress = 254;
constexpr std::size_t maxLocalPart = 64;
constexpr std::size_t maxLabel = 63;
constexpr std::string_view localSymbols = "!#$%&'*+-/=?^_`{|}~";

// The "C" locale is in force, so bytes of multi-byte UTF-8 characters never count as letters.
bool isAsciiAlnum(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool isLocalPart(std::string_view local)
{
    if (local.empty() || local.size() > maxLocalPart || local.front() == '.' ||
        local.back() == '.' || local.find("..") != std::string_view::npos) {
        return false;
    }
    return std::ranges::all_of(local, [](char c) {
        return isAsciiAlnum(c) || c == '.' || localSymbols.find(c) != std::string_view::npos;
    });
}

bool isLabel(std::string_view label)
{
    return !label.empty() && label.size() <= maxLabel && label.front() != '-' &&
           label.back() != '-' &&
           std::ranges::all_of(label, [](char c) { return isAsciiAlnum(c) || c == '-'; });
}

bool isDomain(std::string_view domain)
{
    const std::size_t lastDot = domain.rfind('.');
    if (lastDot == std::string_view::npos) {
        return false;
    }
    const std::string_view tld = domain.substr(lastDot + 1);
    if (tld.size() < 2 || !std::ranges::all_of(tld, [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0;
        })) {
        return false;
    }
    for (std::size_t start = 0; start <= domain.size();) {
        const std::size_t end = std::min(domain.find('.', start), domain.size());
        if (!isLabel(domain.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

bool EmailAddress::isValid(std::string_view address)
{
    const std::size_t at = address.find('@');
    if (address.size() > maxAddress || at == std::string_view::npos ||
        address.find('@', at + 1) != std::string_view::npos) {
        return false;
    }
    return isLocalPart(address.substr(0, at)) && isDomain(address.substr(at + 1));
}
