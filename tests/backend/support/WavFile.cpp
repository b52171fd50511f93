#include "WavFile.h"

#include <cmath>
#include <numbers>

namespace {

void put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace

std::string WavFile::make(const std::vector<std::int16_t>& samples, int sampleRate, int channels)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    std::string out = "RIFF";
    put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, static_cast<std::uint32_t>(channels), 2);
    put(out, rate, 4);
    put(out, rate * blockAlign, 4);
    put(out, blockAlign, 2);
    put(out, 16, 2);
    out += "data";
    put(out, dataBytes, 4);
    for (const std::int16_t sample : samples) {
        put(out, static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

std::string WavFile::tone(double seconds, int sampleRate, int channels)
{
    const auto frames = static_cast<std::size_t>(seconds * sampleRate);
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i) {
        const double t = double(i / static_cast<std::size_t>(channels)) / sampleRate;
        samples.push_back(
            static_cast<std::int16_t>(8000 * std::sin(2 * std::numbers::pi * 440 * t)));
    }
    return make(samples, sampleRate, channels);
}
