#pragma once

#include <cstdint>
#include <span>
#include <string>

// A speech recogniser for 16 kHz mono 16-bit audio. One instance serves one request at a time.
class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;
    // The recognised words, space-separated, as the recogniser spells them; empty when it heard
    // none.
    virtual std::string transcribe(std::span<const std::int16_t> samples) = 0;
};
