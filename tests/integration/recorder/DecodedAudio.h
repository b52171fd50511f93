#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace murmo::test {

// The first channel of an audio file, decoded with FFmpeg to values in [-1, 1].
struct DecodedAudio
{
    int sampleRate = 0;
    std::vector<float> samples;

    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0; }
    // From the start of the first to the end of the last 10 ms stretch whose rms exceeds
    // `threshold`: the length of what was said, whatever silence surrounds it.
    double audibleSeconds(double threshold) const;
};

std::optional<DecodedAudio> decodeAudioFile(const QString& path);
// Decodes file bytes, such as a recording's, whose format `ext` names.
std::optional<DecodedAudio> decodeAudio(const QByteArray& data, const QString& ext);

} // namespace murmo::test
