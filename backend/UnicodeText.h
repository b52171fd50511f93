#pragma once

#include <string>
#include <string_view>

// Case and letter questions about UTF-8 text that hold for every script, through ICU: the backend
// cleans up and analyses Russian as well as English.
class UnicodeText
{
public:
    // Full lower-casing; invalid UTF-8 comes back with U+FFFD in place of the bad bytes.
    static std::string lower(std::string_view text);
    // The word with its first letter upper-cased (a leading quote or bracket is passed over).
    static std::string capitalised(std::string_view word);
    // Byte offsets of the first letter or digit and of the end of the last one; both are the
    // token's size when it holds none ("—", "...").
    static std::size_t wordBegin(std::string_view token);
    static std::size_t wordEnd(std::string_view token);
    // The code point starting at `offset` is a letter or digit.
    static bool isAlphanumericAt(std::string_view text, std::size_t offset);
    // Where the code point starting at `offset` ends (a bad byte counts as one).
    static std::size_t codePointEnd(std::string_view text, std::size_t offset);
};
