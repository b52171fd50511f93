#include "platform/linux/QtAudioEngine.h"

#include <QAudioSource>
#include <QMediaDevices>
#include <QMutexLocker>

using namespace Qt::StringLiterals;

namespace {

// How much the source gathers before waking the capture thread; small so that the first buffer
// leaves soon after its last frame was heard.
constexpr qint64 fragmentMicroseconds = 5000;

AudioFormat::Sample sampleOf(QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return AudioFormat::Sample::uint8;
    case QAudioFormat::Int16:
        return AudioFormat::Sample::int16;
    case QAudioFormat::Int32:
        return AudioFormat::Sample::int32;
    case QAudioFormat::Float:
        return AudioFormat::Sample::float32;
    default:
        return AudioFormat::Sample::unknown;
    }
}

// The device's own rate and channels, in float samples when it offers them: the level is
// measured on float data, and the sound server converts to it without loss.
QAudioFormat captureFormat(const QAudioDevice& device)
{
    QAudioFormat format = device.preferredFormat();
    QAudioFormat floats = format;
    floats.setSampleFormat(QAudioFormat::Float);
    return device.isFormatSupported(floats) ? floats : format;
}

PlatformError sourceError(QAudio::Error error)
{
    const auto code = error == QAudio::NoError ? QAudio::OpenError : error;
    QString description;
    switch (code) {
    case QAudio::IOError:
        description = u"Reading from the audio input failed"_s;
        break;
    case QAudio::FatalError:
        description = u"The audio input is not usable"_s;
        break;
    default:
        description = u"The audio input could not be opened"_s;
        break;
    }
    return {u"QAudioSource"_s, int(code), description};
}

} // namespace

QtAudioEngine::QtAudioEngine()
{
    m_thread.setObjectName(u"murmo-capture"_s);
    m_context.moveToThread(&m_thread);
    m_thread.start();
}

QtAudioEngine::~QtAudioEngine()
{
    stop();
    m_thread.quit();
    m_thread.wait();
}

AudioFormat QtAudioEngine::inputFormat()
{
    m_device = QMediaDevices::defaultAudioInput();
    m_format = m_device.isNull() ? QAudioFormat() : captureFormat(m_device);
    return {m_format.sampleRate(), m_format.channelCount(), sampleOf(m_format.sampleFormat())};
}

void QtAudioEngine::installTap(int bufferFrames, TapHandler handler)
{
    const QMutexLocker locker(&m_tapLock);
    m_tap = std::move(handler);
    m_tapFrames = bufferFrames;
}

void QtAudioEngine::removeTap()
{
    // Whatever the handler holds is released after the lock, not under it.
    TapHandler removed;
    const QMutexLocker locker(&m_tapLock);
    removed.swap(m_tap);
}

std::optional<PlatformError> QtAudioEngine::start()
{
    std::optional<PlatformError> error;
    QMetaObject::invokeMethod(
        &m_context, [&, device = m_device, format = m_format] { error = open(device, format); },
        Qt::BlockingQueuedConnection);
    return error;
}

void QtAudioEngine::stop()
{
    QMetaObject::invokeMethod(
        &m_context, [this] { close(); }, Qt::BlockingQueuedConnection);
}

std::optional<PlatformError> QtAudioEngine::open(const QAudioDevice& device,
                                                 const QAudioFormat& format)
{
    close();
    if (device.isNull() || !format.isValid())
        return sourceError(QAudio::OpenError);
    m_source = std::make_unique<QAudioSource>(device, format);
    m_source->setBufferSize(format.bytesForDuration(fragmentMicroseconds));
    QIODevice* io = m_source->start();
    if (!io || m_source->error() != QAudio::NoError) {
        const QAudio::Error error = m_source->error();
        close();
        return sourceError(error);
    }
    m_captured = {format.sampleRate(), format.channelCount(), sampleOf(format.sampleFormat())};
    {
        const QMutexLocker locker(&m_tapLock);
        m_chunkBytes = qsizetype(m_tapFrames) * format.bytesPerFrame();
    }
    QObject::connect(io, &QIODevice::readyRead, &m_context, [this, io] { pull(io); });
    return std::nullopt;
}

void QtAudioEngine::close()
{
    if (m_source)
        m_source->stop();
    m_source.reset();
    m_pending.clear();
}

void QtAudioEngine::pull(QIODevice* io)
{
    m_pending += io->readAll();
    if (m_chunkBytes <= 0) {
        m_pending.clear();
        return;
    }
    qsizetype at = 0;
    for (; m_pending.size() - at >= m_chunkBytes; at += m_chunkBytes)
        deliver(QByteArrayView(m_pending).sliced(at, m_chunkBytes));
    m_pending.remove(0, at);
}

void QtAudioEngine::deliver(QByteArrayView chunk)
{
    const QMutexLocker locker(&m_tapLock);
    if (m_tap)
        m_tap(AudioBuffer{m_captured, chunk});
}
