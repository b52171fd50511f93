#include "recorder/DecodedAudio.h"

#include "support/WaitUntil.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace murmo::test {

double DecodedAudio::audibleSeconds(double threshold) const
{
    const size_t window = sampleRate / 100;
    double first = -1, last = -1;
    for (size_t at = 0; at + window <= samples.size(); at += window) {
        double sum = 0;
        for (size_t i = at; i < at + window; ++i)
            sum += double(samples[i]) * samples[i];
        if (std::sqrt(sum / double(window)) <= threshold)
            continue;
        if (first < 0)
            first = double(at);
        last = double(at + window);
    }
    return first < 0 ? 0 : (last - first) / sampleRate;
}

std::optional<DecodedAudio> decodeAudioFile(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start(u"ffmpeg"_s,
                 {u"-v"_s, u"error"_s, u"-i"_s, path, u"-ac"_s, u"1"_s, u"-ar"_s,
                  QString::number(DecodedAudio::sampleRate), u"-f"_s, u"f32le"_s, u"-"_s});
    QByteArray raw;
    waitUntil([&] {
        raw += ffmpeg.readAllStandardOutput();
        return ffmpeg.state() == QProcess::NotRunning;
    });
    raw += ffmpeg.readAllStandardOutput();
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return std::nullopt;
    DecodedAudio audio;
    audio.samples.resize(size_t(raw.size()) / sizeof(float));
    std::memcpy(audio.samples.data(), raw.constData(), audio.samples.size() * sizeof(float));
    return audio;
}

std::optional<DecodedAudio> decodeAudio(const QByteArray& data, const QString& ext)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"audio."_s + ext));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return std::nullopt;
    file.close();
    return decodeAudioFile(file.fileName());
}

} // namespace murmo::test
