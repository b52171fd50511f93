#include "input/MicrophoneRecorder.h"

#include "input/PCMSink.h"
#include "platform/AudioEngine.h"
#include "platform/AudioFileEncoder.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

// The converter writes native 16-bit samples and the formats we hand on are little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

const QString errorDomain = u"Murmo"_s;

// Room for everything one buffer can convert to, plus the resampler's carry-over.
qsizetype outputCapacity(qsizetype frames, int inputRate)
{
    return frames * AudioConverter::targetRate / inputRate + 64;
}

// Level from the single-precision rms of channel 0 of the captured float samples. The squares
// are summed in double: a float sum over 4096 samples drifts enough to keep a full-scale signal
// from reaching 1.
double levelOf(const AudioBuffer& buffer)
{
    const qsizetype frames = buffer.frameCount();
    if (buffer.format.sample != AudioFormat::Sample::float32 || frames == 0)
        return 0;
    const int frameBytes = buffer.format.bytesPerFrame();
    double sum = 0;
    for (qsizetype i = 0; i < frames; ++i) {
        float sample;
        std::memcpy(&sample, buffer.bytes.data() + i * frameBytes, sizeof sample);
        sum += double(sample) * sample;
    }
    const auto rms = float(std::sqrt(sum / double(frames)));
    return std::min(double(rms) * MicrophoneRecorder::levelGain, 1.0);
}

// Runs on the capture thread: converts, measures, and stores under the sink's lock only.
AudioEngine::TapHandler tapHandler(int inputRate, std::shared_ptr<AudioConverter> converter,
                                   std::shared_ptr<PCMSink> sink)
{
    return [=](const AudioBuffer& buffer) {
        QByteArray pcm(outputCapacity(buffer.frameCount(), inputRate) * 2, Qt::Uninitialized);
        const qsizetype frames = converter->convert(
            buffer, {reinterpret_cast<qint16*>(pcm.data()), size_t(pcm.size() / 2)});
        if (frames <= 0)
            return;
        pcm.truncate(frames * 2);
        sink->append(pcm, levelOf(buffer));
    };
}

// A 44-byte RIFF header for 16 kHz mono 16-bit PCM, then the samples.
QByteArray wavFile(const QByteArray& pcm)
{
    QByteArray wav;
    wav.reserve(44 + pcm.size());
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(pcm.size() + 36);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(AudioConverter::targetRate)
        << quint32(AudioConverter::targetRate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(pcm.size());
    out.writeRawData(pcm.constData(), int(pcm.size()));
    return wav;
}

// $XDG_RUNTIME_DIR/murmo: only this user can enter it, so file names there cannot be
// hijacked as they could in a shared /tmp. Empty when it cannot be made.
QString privateTemporaryDirectory()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString directory = runtime + u"/murmo"_s;
    const bool ready =
        QDir().mkpath(directory) &&
        QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    return ready ? directory : QString();
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace

MicrophoneRecorder::MicrophoneRecorder(Collaborators c, QObject* parent)
    : QObject(parent)
    , m_engine(c.engine)
    , m_makeConverter(std::move(c.makeConverter))
    , m_encoder(c.encoder)
    , m_clock(c.clock)
    , m_scheduler(c.scheduler)
    , m_sink(std::make_shared<PCMSink>())
{}

MicrophoneRecorder::~MicrophoneRecorder()
{
    if (m_recording) {
        m_engine.removeTap();
        m_engine.stop();
    }
}

std::optional<RecorderError> MicrophoneRecorder::start()
{
    if (m_recording)
        return std::nullopt;
    m_sink->reset();

    const AudioFormat input = m_engine.inputFormat();
    if (input.sampleRate <= 0)
        return RecorderError{errorDomain, 1, u"No microphone available"_s};
    std::shared_ptr<AudioConverter> converter = m_makeConverter(input);
    if (!converter)
        return RecorderError{errorDomain, 2, u"Audio converter failed"_s};

    m_engine.installTap(tapBufferFrames,
                        tapHandler(input.sampleRate, std::move(converter), m_sink));
    if (auto error = m_engine.start()) {
        // A tap left behind would make the next start install a second one.
        m_engine.removeTap();
        return RecorderError{error->domain, error->code, error->description};
    }

    m_recording = true;
    m_startedAt = m_clock.now();
    m_levelTimer = m_scheduler.runEvery(levelInterval, [self = QPointer(this)] {
        if (self)
            self->setLevel(self->m_sink->lastLevel());
    });
    return std::nullopt;
}

std::optional<Take> MicrophoneRecorder::stop()
{
    if (!m_recording)
        return std::nullopt;
    endCapture();
    const QByteArray pcm = m_sink->takePcm();
    if (pcm.size() <= minimumPcmBytes)
        return std::nullopt;
    if (auto m4a = encodeAac(pcm))
        return Take{*m4a, u"m4a"_s};
    return Take{wavFile(pcm), u"wav"_s};
}

void MicrophoneRecorder::cancel()
{
    if (!m_recording)
        return;
    endCapture();
    m_sink->reset();
}

void MicrophoneRecorder::endCapture()
{
    m_engine.removeTap();
    m_engine.stop();
    m_recording = false;
    m_levelTimer.cancel();
    setLevel(0);
}

void MicrophoneRecorder::setLevel(double level)
{
    if (level == m_level)
        return;
    m_level = level;
    Q_EMIT levelChanged();
}

std::optional<QByteArray> MicrophoneRecorder::encodeAac(const QByteArray& pcm) const
{
    const QString directory = privateTemporaryDirectory();
    if (directory.isEmpty())
        return std::nullopt;
    const QString path = directory + u"/murmo-"_s +
                         QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + u".m4a"_s;
    std::optional<QByteArray> bytes;
    if (!m_encoder.writeAac(pcm, path))
        bytes = readWhole(path);
    // Whatever happened above, nothing of the recording stays on disk.
    QFile::remove(path);
    return bytes;
}
