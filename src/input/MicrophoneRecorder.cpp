#include "input/MicrophoneRecorder.h"

#include "input/PCMSink.h"
#include "input/TakeEncoder.h"
#include "platform/AudioEngine.h"

#include <QDataStream>
#include <QIODevice>
#include <QPointer>

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
        m_engine.stop();
        m_engine.removeTap();
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

    m_encoding = std::make_unique<TakeEncoder>(m_encoder, m_sink);
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
    const auto encoding = std::exchange(m_encoding, nullptr);
    if (m_sink->pcmSize() <= minimumPcmBytes) {
        m_sink->takePcm();
        return std::nullopt;
    }
    // The worker has kept up with the capture: only the last moments are left to encode.
    const std::optional<QByteArray> m4a = encoding->finish();
    const QByteArray pcm = m_sink->takePcm();
    if (m4a)
        return Take{*m4a, u"m4a"_s};
    return Take{wavFile(pcm), u"wav"_s};
}

void MicrophoneRecorder::cancel()
{
    if (!m_recording)
        return;
    endCapture();
    m_encoding.reset();
    m_sink->reset();
}

void MicrophoneRecorder::endCapture()
{
    // Stopping first lets the engine hand over the audio since its last full buffer.
    m_engine.stop();
    m_engine.removeTap();
    m_sink->close();
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
