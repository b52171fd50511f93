#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds 16-bit PCM WAV files in memory, with the 44-byte header the recorder writes.
class WavFile
{
public:
    // Interleaved samples.
    static std::string make(const std::vector<std::int16_t>& samples, int sampleRate, int channels);
    // A 440 Hz tone of the given length.
    static std::string tone(double seconds, int sampleRate, int channels);
};
