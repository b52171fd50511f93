#pragma once

#include "platform/AudioEngine.h"

// A microphone the test speaks into: deliver() hands a buffer to the tap as the capture thread
// would. Records how it was driven, including a second tap installed over a first.
class FakeAudioEngine final : public AudioEngine
{
public:
    AudioFormat inputFormat() override { return format; }
    void installTap(int bufferFrames, TapHandler handler) override
    {
        if (tap)
            ++tapsInstalledOverAnother;
        tap = std::move(handler);
        tapFrames = bufferFrames;
    }
    void removeTap() override { tap = {}; }
    std::optional<PlatformError> start() override
    {
        ++starts;
        running = !startError;
        return startError;
    }
    void stop() override
    {
        if (tap && running && !tail.isEmpty())
            tap({format, tail});
        running = false;
    }

    void deliver(const AudioBuffer& buffer)
    {
        if (tap && running)
            tap(buffer);
    }

    AudioFormat format{48000, 2, AudioFormat::Sample::float32};
    std::optional<PlatformError> startError;
    // What stop() hands over, as a real engine hands over the audio since its last full buffer.
    QByteArray tail;
    TapHandler tap;
    int tapFrames = 0;
    int tapsInstalledOverAnother = 0;
    int starts = 0;
    bool running = false;
};
