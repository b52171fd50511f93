#include "platform/linux/SwrAudioConverter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

AVSampleFormat sampleFormat(AudioFormat::Sample sample)
{
    switch (sample) {
    case AudioFormat::Sample::uint8:
        return AV_SAMPLE_FMT_U8;
    case AudioFormat::Sample::int16:
        return AV_SAMPLE_FMT_S16;
    case AudioFormat::Sample::int32:
        return AV_SAMPLE_FMT_S32;
    case AudioFormat::Sample::float32:
        return AV_SAMPLE_FMT_FLT;
    case AudioFormat::Sample::unknown:
        break;
    }
    return AV_SAMPLE_FMT_NONE;
}

} // namespace

std::unique_ptr<AudioConverter> SwrAudioConverter::create(const AudioFormat& input)
{
    const AVSampleFormat format = sampleFormat(input.sample);
    if (format == AV_SAMPLE_FMT_NONE || input.sampleRate <= 0 || input.channelCount <= 0)
        return nullptr;
    AVChannelLayout inLayout;
    av_channel_layout_default(&inLayout, input.channelCount);
    AVChannelLayout outLayout = AV_CHANNEL_LAYOUT_MONO;
    SwrContext* context = nullptr;
    const int rc = swr_alloc_set_opts2(&context, &outLayout, AV_SAMPLE_FMT_S16, targetRate,
                                       &inLayout, format, input.sampleRate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    if (rc < 0 || swr_init(context) < 0) {
        swr_free(&context);
        return nullptr;
    }
    return std::unique_ptr<AudioConverter>(new SwrAudioConverter(context));
}

SwrAudioConverter::SwrAudioConverter(SwrContext* context)
    : m_context(context)
{}

SwrAudioConverter::~SwrAudioConverter()
{
    swr_free(&m_context);
}

qsizetype SwrAudioConverter::convert(const AudioBuffer& input, std::span<qint16> output)
{
    // A null input would end the stream and lose the filter history: never flush.
    if (input.frameCount() == 0)
        return 0;
    const auto* in = reinterpret_cast<const uint8_t*>(input.bytes.data());
    auto* out = reinterpret_cast<uint8_t*>(output.data());
    return swr_convert(m_context, &out, int(output.size()), &in, int(input.frameCount()));
}
