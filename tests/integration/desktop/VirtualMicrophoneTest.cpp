#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include "support/WaitUntil.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

constexpr int kToneRate = 48000;
constexpr double kToneHz = 440.0;
constexpr double kToneAmplitude = 0.5;

// One second of a 440 Hz sine as a mono 16-bit WAV file, for paplay.
QByteArray toneWav()
{
    QByteArray samples;
    samples.resize(kToneRate * 2);
    for (int i = 0; i < kToneRate; ++i) {
        const double value =
            kToneAmplitude * std::sin(2 * std::numbers::pi * kToneHz * i / kToneRate);
        qToLittleEndian<qint16>(static_cast<qint16>(std::lround(value * 32767)),
                                samples.data() + 2 * i);
    }

    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(kToneRate) << quint32(kToneRate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), samples.size());
    return wav;
}

// The first channel of captured audio, as values in [-1, 1] whatever the sample format.
std::vector<float> firstChannel(const QByteArray& bytes, const QAudioFormat& format)
{
    std::vector<float> values;
    const int frameBytes = format.bytesPerFrame();
    for (qsizetype at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
        values.push_back(format.normalizedSampleValue(bytes.constData() + at));
    return values;
}

double rms(const float* begin, const float* end)
{
    double sum = 0;
    for (const float* v = begin; v != end; ++v)
        sum += double(*v) * *v;
    return begin == end ? 0.0 : std::sqrt(sum / double(end - begin));
}

// Records the default input continuously while a test plays into the default output.
class Capture
{
public:
    explicit Capture(const QAudioDevice& device)
        : m_format(device.preferredFormat())
        , m_source(device, m_format)
    {
        m_source.setBufferSize(4096 * m_format.bytesPerFrame());
        m_io = m_source.start();
    }

    ~Capture() { m_source.stop(); }

    const QAudioFormat& format() const { return m_format; }
    QAudio::Error error() const { return m_source.error(); }
    bool started() const { return m_io != nullptr; }

    // Collects what arrived and reports whether `frames` frames have been captured in all.
    bool hasFrames(qsizetype frames)
    {
        m_bytes += m_io->readAll();
        return m_bytes.size() >= frames * m_format.bytesPerFrame();
    }

    qsizetype frames() const { return m_bytes.size() / m_format.bytesPerFrame(); }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QAudioFormat m_format;
    QAudioSource m_source;
    QIODevice* m_io = nullptr;
    QByteArray m_bytes;
};

TEST(VirtualMicrophoneTest, HearsWhatIsPlayedToTheDefaultOutput)
{
    const QAudioDevice microphone = QMediaDevices::defaultAudioInput();
    ASSERT_FALSE(microphone.isNull()) << "no default audio input";
    EXPECT_EQ(microphone.id(), "vmic");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tonePath = dir.filePath(u"tone.wav"_s);
    QFile toneFile(tonePath);
    ASSERT_TRUE(toneFile.open(QIODevice::WriteOnly));
    toneFile.write(toneWav());
    toneFile.close();

    Capture capture(microphone);
    ASSERT_TRUE(capture.started()) << "capture failed to start, error " << capture.error();
    const QAudioFormat& format = capture.format();
    ASSERT_TRUE(format.isValid());
    const int rate = format.sampleRate();

    // A quarter of a second of what the microphone hears before anything plays.
    const qsizetype quietFrames = rate / 4;
    ASSERT_TRUE(waitUntil([&] { return capture.hasFrames(quietFrames); }))
        << "no audio arrived from the microphone, error " << capture.error();

    QProcess player;
    player.start(u"paplay"_s, {tonePath});
    ASSERT_TRUE(waitUntil([&] {
        capture.hasFrames(0);
        return player.state() == QProcess::NotRunning;
    })) << "paplay did not finish";
    ASSERT_EQ(player.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(player.exitCode(), 0) << player.readAllStandardError().toStdString();

    // Whatever paplay wrote has left the sink once it exits; allow the monitor path's latency.
    const qsizetype wanted = capture.frames() + rate / 2;
    ASSERT_TRUE(waitUntil([&] { return capture.hasFrames(wanted); }));
    EXPECT_EQ(capture.error(), QAudio::NoError);

    const std::vector<float> heard = firstChannel(capture.bytes(), format);
    ASSERT_GE(heard.size(), size_t(quietFrames));
    const double quietLevel = rms(heard.data(), heard.data() + quietFrames);
    EXPECT_LT(quietLevel, 0.01) << "the microphone hears noise while nothing plays";

    // The tone shows up as a stretch of 20 ms windows at about the sine's level; the few windows
    // the tone only partly fills at its start and end are left out.
    const double toneLevel = kToneAmplitude / std::numbers::sqrt2;
    const size_t window = size_t(rate / 50);
    double loudest = 0;
    size_t toneWindows = 0, crossings = 0;
    for (size_t at = size_t(quietFrames); at + window <= heard.size(); at += window) {
        const double level = rms(heard.data() + at, heard.data() + at + window);
        loudest = std::max(loudest, level);
        if (level < 0.8 * toneLevel)
            continue;
        ++toneWindows;
        for (size_t i = at; i < at + window; ++i)
            crossings += (heard[i - 1] < 0) != (heard[i] < 0);
    }
    EXPECT_NEAR(loudest, toneLevel, 0.1 * toneLevel) << "quiet level " << quietLevel;
    ASSERT_GE(toneWindows, 40u) << "less than 0.8 s of the 1 s tone was heard";

    // A sine crosses zero twice per period: a misread rate or channel layout shifts this.
    const double heardHz = crossings / 2.0 / (double(toneWindows * window) / rate);
    EXPECT_NEAR(heardHz, kToneHz, kToneHz * 0.05);
}

} // namespace
