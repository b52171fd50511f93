#pragma once

#include "fakes/SpyAudioEngine.h"
#include "input/MicrophoneRecorder.h"
#include "platform/linux/FfmpegAudioFileEncoder.h"
#include "platform/linux/PulseAudioEngine.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/SwrAudioConverter.h"
#include "platform/linux/SystemClock.h"

namespace murmo::test {

// A real recorder on the default microphone, as the application builds it, with a spy on the
// engine's tap.
struct LiveRecorder
{
    PulseAudioEngine audio;
    SpyAudioEngine engine{audio};
    FfmpegAudioFileEncoder encoder;
    QtScheduler scheduler;
    SystemClock clock;
    MicrophoneRecorder recorder{{engine, &SwrAudioConverter::create, encoder, clock, scheduler}};
};

} // namespace murmo::test
