#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// What a recogniser is given: 16 kHz mono 16-bit audio and the language the speaker asked for.
struct Speech
{
    std::span<const std::int16_t> samples;
    std::optional<std::string> language; // as the client asked for it ("en"), if it did
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
