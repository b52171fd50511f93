#include "UnicodeText.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace {

UChar32 codePointAt(std::string_view text, std::size_t offset, std::size_t& next)
{
    auto i = static_cast<std::int32_t>(offset);
    UChar32 c = 0;
    U8_NEXT(text.data(), i, static_cast<std::int32_t>(text.size()), c);
    next = static_cast<std::size_t>(i);
    return c;
}

} // namespace

std::string UnicodeText::lower(std::string_view text)
{
    std::string out;
    icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())))
        .toLower(icu::Locale::getRoot())
        .toUTF8String(out);
    return out;
}

std::string UnicodeText::capitalised(std::string_view word)
{
    const std::size_t begin = wordBegin(word);
    if (begin == word.size()) {
        return std::string(word);
    }
    std::size_t next = 0;
    const UChar32 upper = u_toupper(codePointAt(word, begin, next));
    char bytes[U8_MAX_LENGTH];
    std::int32_t length = 0;
    UBool error = false;
    U8_APPEND(bytes, length, U8_MAX_LENGTH, upper, error);
    if (error) {
        return std::string(word);
    }
    return std::string(word.substr(0, begin)) +
           std::string(bytes, static_cast<std::size_t>(length)) + std::string(word.substr(next));
}

std::size_t UnicodeText::wordBegin(std::string_view token)
{
    for (std::size_t i = 0, next = 0; i < token.size(); i = next) {
        if (u_isalnum(codePointAt(token, i, next))) {
            return i;
        }
    }
    return token.size();
}

std::size_t UnicodeText::wordEnd(std::string_view token)
{
    std::size_t end = token.size();
    for (std::size_t i = 0, next = 0; i < token.size(); i = next) {
        if (u_isalnum(codePointAt(token, i, next))) {
            end = next;
        }
    }
    return end;
}

bool UnicodeText::isAlphanumericAt(std::string_view text, std::size_t offset)
{
    std::size_t next = 0;
    return offset < text.size() && u_isalnum(codePointAt(text, offset, next));
}

std::size_t UnicodeText::codePointEnd(std::string_view text, std::size_t offset)
{
    std::size_t next = 0;
    codePointAt(text, offset, next);
    return next;
}
