#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

// What a recogniser is given: 16 kHz mono 16-bit audio, the language the speaker asked for and
// the writing style they want.
struct Speech
{
    std::span<const std::int16_t> samples;
    std::optional<std::string> language; // as the client asked for it ("en"), if it did
    std::optional<std::string> style;    // free text, if the client sent one
};

// Thrown by a recogniser asked for a language it cannot hear; the message says what to do.
class UnsupportedLanguage : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A speech recogniser. One instance serves one request at a time, and no request may shape the
// transcript of another.
class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;
    // The recognised words, space-separated, as the recogniser spells them; empty when it heard
    // none.
    virtual std::string transcribe(const Speech& speech) = 0;
};
