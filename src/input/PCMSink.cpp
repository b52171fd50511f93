#include "input/PCMSink.h"

#include <QMutexLocker>

#include <utility>

void PCMSink::append(const QByteArray& pcm, double level)
{
    const QMutexLocker locker(&m_lock);
    m_pcm.append(pcm);
    m_lastLevel = level;
}

void PCMSink::reset()
{
    const QMutexLocker locker(&m_lock);
    m_pcm.clear();
    m_lastLevel = 0;
}

QByteArray PCMSink::takePcm()
{
    const QMutexLocker locker(&m_lock);
    return std::exchange(m_pcm, {});
}

double PCMSink::lastLevel() const
{
    const QMutexLocker locker(&m_lock);
    return m_lastLevel;
}
