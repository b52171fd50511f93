#pragma once

#include <string>
#include <string_view>

// Turns the recogniser's output into the "raw" and "text" of a dictation reply.
class TranscriptCleaner
{
public:
    // The recognised words without the recogniser's own markers (<sil>, [NOISE], ++UH++, the
    // "(2)" of alternate pronunciations), single-spaced.
    static std::string raw(std::string_view hypothesis);
    // The text to insert, English or Russian, punctuated by the recogniser or not: sounds of
    // hesitation, fillers opening a sentence and stutters dropped, sentence case with "I",
    // weekdays and months capitalised, and a full stop, or a question mark when the last sentence
    // opens a question, unless it ends with its own. Empty when nothing but fillers was said.
    static std::string clean(std::string_view raw);
};
