#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace murmo::test {

// An audio file decoded by the ffmpeg tool to mono float samples at 16 kHz.
struct DecodedAudio
{
    static constexpr int sampleRate = 16000;

    std::vector<float> samples;

    double seconds() const { return double(samples.size()) / sampleRate; }
    // From the start of the first to the end of the last 10 ms stretch whose rms exceeds
    // `threshold`: the length of what was said, whatever silence surrounds it.
    double audibleSeconds(double threshold) const;
};

std::optional<DecodedAudio> decodeAudioFile(const QString& path);
// Decodes file bytes, such as a recording's, whose format `ext` names.
std::optional<DecodedAudio> decodeAudio(const QByteArray& data, const QString& ext);

} // namespace murmo::test
