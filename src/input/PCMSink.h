#pragma once

#include <QByteArray>

#include <condition_variable>
#include <mutex>
#include <stop_token>

// Converted audio and the latest level, written by the capture thread, read by the main thread
// and followed by the encoder's worker as it grows. The lock is held only to store, copy or take
// out, never while converting or encoding.
class PCMSink
{
public:
    void append(const QByteArray& pcm, double level);
    // Empties the audio, sets the level to 0 and opens the sink for a new recording.
    void reset();
    // No more audio will come until the next reset; wakes whoever waits for it.
    void close();
    // The audio so far, leaving the sink empty; the level stays.
    QByteArray takePcm();
    qsizetype pcmSize() const;
    double lastLevel() const;
    // Waits until there is audio beyond the first `offset` bytes, the sink is closed or `stop` is
    // requested, and returns a copy of that audio (empty when there is none).
    QByteArray waitForPcmAfter(qsizetype offset, std::stop_token stop);

private:
    mutable std::mutex m_lock;
    std::condition_variable_any m_grown;
    QByteArray m_pcm;
    double m_lastLevel = 0;
    bool m_closed = false;
};
