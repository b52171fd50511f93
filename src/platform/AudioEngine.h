#pragma once

#include "platform/AudioBuffer.h"
#include "platform/AudioFormat.h"
#include "platform/PlatformError.h"

#include <functional>
#include <optional>

// Captures the default microphone. All calls come from the main thread and return within a time
// limit, whatever the sound server does; the tap handler runs on the engine's capture thread.
class AudioEngine
{
public:
    using TapHandler = std::function<void(const AudioBuffer&)>;

    virtual ~AudioEngine() = default;

    // The format captured buffers will have, read afresh from the current default input; a
    // sample rate of 0 when there is none. start() uses the input found by the latest call.
    virtual AudioFormat inputFormat() = 0;
    // Hands the captured audio to `handler` in buffers of `bufferFrames` frames, except that the
    // first buffer of a capture may be shorter (so the first sound shows sooner) and so may the
    // last, which stop() delivers. At most one tap may be installed at a time.
    virtual void installTap(int bufferFrames, TapHandler handler) = 0;
    // Once this returns, the handler is not running and will not run again.
    virtual void removeTap() = 0;
    // Fails when the input cannot be opened or does not begin to capture in time; a later call
    // tries afresh.
    virtual std::optional<PlatformError> start() = 0;
    // Hands what was captured up to now, a last partial buffer included, to the tap, then stops.
    virtual void stop() = 0;
};
