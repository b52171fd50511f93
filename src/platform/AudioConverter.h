#pragma once

#include "platform/AudioBuffer.h"
#include "platform/AudioFormat.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <span>

// Converts captured audio to 16 kHz mono signed 16-bit samples as a stream: state such as
// resampler history carries over from one buffer to the next.
class AudioConverter
{
public:
    static constexpr int targetRate = 16000;

    virtual ~AudioConverter() = default;
    // Converts `input` into at most `output.size()` frames; returns the frames written, or a
    // negative number on error.
    virtual qsizetype convert(const AudioBuffer& input, std::span<qint16> output) = 0;
};

// Makes a converter from the given input format; null when that cannot be done.
using AudioConverterFactory = std::function<std::unique_ptr<AudioConverter>(const AudioFormat&)>;
