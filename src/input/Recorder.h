#pragma once

#include "input/RecorderError.h"
#include "input/Take.h"
#include "platform/Clock.h"

#include <optional>

// The microphone as the dictation controller and the onboarding use it.
class Recorder
{
public:
    virtual ~Recorder() = default;

    // Begins capturing; does nothing when already recording.
    virtual std::optional<RecorderError> start() = 0;
    // Ends capturing; nothing when not recording or when too little was heard.
    virtual std::optional<Take> stop() = 0;
    // Ends capturing and throws the audio away.
    virtual void cancel() = 0;
    virtual bool isRecording() const = 0;
    // When the last successful start began capturing.
    virtual Clock::TimePoint startedAt() const = 0;
};
