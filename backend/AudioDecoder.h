#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

// Decodes a complete audio file held in memory (AAC in MPEG-4, or WAV) to 16 kHz mono 16-bit PCM.
class AudioDecoder
{
public:
    enum class Error
    {
        undecodable,
        tooLong
    };
    using Samples = std::vector<std::int16_t>;
    static constexpr int sampleRate = 16000;

    explicit AudioDecoder(std::chrono::seconds maxDuration);

    // Stops as soon as the audio runs past the maximum duration, so a long file costs no more
    // than the limit.
    std::variant<Samples, Error> decode(std::string_view file) const;
    std::chrono::seconds maxDuration() const { return m_maxDuration; }

private:
    std::chrono::seconds m_maxDuration;
};
