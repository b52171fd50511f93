#pragma once

#include "platform/AudioEngine.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QMutex>
#include <QThread>

#include <memory>

class QAudioSource;
class QIODevice;

// The default input through Qt Multimedia. The QAudioSource lives on a capture thread of its own,
// which reads it and hands fixed-size buffers to the tap; the main thread only starts and stops
// it there.
class QtAudioEngine final : public AudioEngine
{
public:
    QtAudioEngine();
    ~QtAudioEngine() override;

    AudioFormat inputFormat() override;
    void installTap(int bufferFrames, TapHandler handler) override;
    void removeTap() override;
    std::optional<PlatformError> start() override;
    void stop() override;

private:
    // Capture thread.
    std::optional<PlatformError> open(const QAudioDevice& device, const QAudioFormat& format);
    void close();
    void pull(QIODevice* io);
    void deliver(QByteArrayView chunk);

    // Main thread.
    QAudioDevice m_device;
    QAudioFormat m_format;

    QThread m_thread;
    QObject m_context; // lives on m_thread and carries the calls made there

    // Capture thread.
    std::unique_ptr<QAudioSource> m_source;
    AudioFormat m_captured;
    qsizetype m_chunkBytes = 0;
    QByteArray m_pending;

    // Held while the tap runs, so removing it waits for a running call to end.
    QMutex m_tapLock;
    TapHandler m_tap;
    int m_tapFrames = 0;
};
