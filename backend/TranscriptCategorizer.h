#pragma once

#include <optional>
#include <string>
#include <string_view>

// A category label for a cleaned dictation, given only when a plain rule is sure of it:
// "question", "email", "reminder" or "task". Anything less certain gets none.
class TranscriptCategorizer
{
public:
    static std::optional<std::string> categorize(std::string_view text);
};
