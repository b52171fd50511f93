#include "input/PCMSink.h"

#include <utility>

void PCMSink::append(const QByteArray& pcm, double level)
{
    {
        const std::lock_guard locker(m_lock);
        m_pcm.append(pcm);
        m_lastLevel = level;
    }
    m_grown.notify_all();
}

void PCMSink::reset()
{
    const std::lock_guard locker(m_lock);
    m_pcm.clear();
    m_lastLevel = 0;
    m_closed = false;
}

void PCMSink::close()
{
    {
        const std::lock_guard locker(m_lock);
        m_closed = true;
    }
    m_grown.notify_all();
}

QByteArray PCMSink::takePcm()
{
    const std::lock_guard locker(m_lock);
    return std::exchange(m_pcm, {});
}

qsizetype PCMSink::pcmSize() const
{
    const std::lock_guard locker(m_lock);
    return m_pcm.size();
}

double PCMSink::lastLevel() const
{
    const std::lock_guard locker(m_lock);
    return m_lastLevel;
}

QByteArray PCMSink::waitForPcmAfter(qsizetype offset, std::stop_token stop)
{
    std::unique_lock locker(m_lock);
    m_grown.wait(locker, stop, [&] { return m_closed || m_pcm.size() > offset; });
    return offset < m_pcm.size() ? m_pcm.sliced(offset) : QByteArray();
}
