#pragma once

#include "platform/AudioEngine.h"

#include <atomic>
#include <chrono>

// Passes everything on to a real engine and watches its tap: how many buffers and frames went
// through, and when the first one arrived and how long it was. The counters are written on the
// capture thread.
class SpyAudioEngine final : public AudioEngine
{
public:
    using Instant = std::chrono::steady_clock::time_point;

    explicit SpyAudioEngine(AudioEngine& engine)
        : m_engine(engine)
    {}

    AudioFormat inputFormat() override { return m_engine.inputFormat(); }
    void installTap(int bufferFrames, TapHandler handler) override
    {
        buffers = 0;
        frames = 0;
        m_engine.installTap(bufferFrames,
                            [this, handler = std::move(handler)](const AudioBuffer& b) {
                                const Instant arrived = std::chrono::steady_clock::now();
                                handler(b);
                                if (buffers == 0) {
                                    firstBufferAt = arrived;
                                    firstBufferFrames = b.frameCount();
                                }
                                frames += b.frameCount();
                                ++buffers;
                            });
    }
    void removeTap() override { m_engine.removeTap(); }
    std::optional<PlatformError> start() override { return m_engine.start(); }
    void stop() override { m_engine.stop(); }

    std::atomic<int> buffers{0};
    std::atomic<qint64> frames{0};
    std::atomic<Instant> firstBufferAt{};
    std::atomic<qint64> firstBufferFrames{0};

private:
    AudioEngine& m_engine;
};
