#pragma once

#include <QByteArray>
#include <QMutex>

// Converted audio and the latest level, written by the capture thread and read by the main
// thread. The lock is held only to store or take out, never while converting.
class PCMSink
{
public:
    void append(const QByteArray& pcm, double level);
    // Empties the audio and sets the level to 0.
    void reset();
    // The audio so far, leaving the sink empty; the level stays.
    QByteArray takePcm();
    double lastLevel() const;

private:
    mutable QMutex m_lock;
    QByteArray m_pcm;
    double m_lastLevel = 0;
};
