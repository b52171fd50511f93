#pragma once

// The layout of interleaved audio frames.
struct AudioFormat
{
    enum class Sample
    {
        unknown,
        uint8,
        int16,
        int32,
        float32
    };

    int sampleRate = 0; // 0 when there is no device
    int channelCount = 0;
    Sample sample = Sample::unknown;

    int bytesPerSample() const
    {
        switch (sample) {
        case Sample::uint8:
            return 1;
        case Sample::int16:
            return 2;
        case Sample::int32:
        case Sample::float32:
            return 4;
        case Sample::unknown:
            break;
        }
        return 0;
    }
    int bytesPerFrame() const { return bytesPerSample() * channelCount; }
};
