#pragma once

#include <cstdint>
#include <span>
#include <string>

// Writes decoded speech as a WAV file in memory, with FFmpeg's WAV muxer: the form every
// OpenAI-compatible transcription server accepts.
class WavEncoder
{
public:
    // 16-bit mono at the given rate; throws std::runtime_error when FFmpeg fails.
    static std::string encode(std::span<const std::int16_t> samples, int sampleRate);
};
