#pragma once

#include <string>
#include <string_view>
#include <vector>

// Small English phrasing helpers for the texts the backend writes.
class Wording
{
public:
    // "1 word", "3 words".
    static std::string count(std::size_t n, std::string_view noun);
    // One decimal place, "12.5"; whole numbers without one, "12".
    static std::string decimal(double value);
    // "a", "a and b", "a, b and c".
    static std::string listing(const std::vector<std::string>& items);
    // The word in typographic quotes with its count: “really” (4×).
    static std::string quotedCount(std::string_view word, std::size_t n);
};
