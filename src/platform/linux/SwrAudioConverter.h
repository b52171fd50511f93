#pragma once

#include "platform/AudioConverter.h"

struct SwrContext;

// libswresample from any interleaved capture format to 16 kHz mono signed 16-bit. One context
// serves a whole recording, so the resampler's filter history carries across buffers.
class SwrAudioConverter final : public AudioConverter
{
public:
    // Null when the input format is not usable or libswresample refuses it.
    static std::unique_ptr<AudioConverter> create(const AudioFormat& input);

    ~SwrAudioConverter() override;
    qsizetype convert(const AudioBuffer& input, std::span<qint16> output) override;

private:
    explicit SwrAudioConverter(SwrContext* context);

    SwrContext* m_context;
};
