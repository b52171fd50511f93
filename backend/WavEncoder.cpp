#include "WavEncoder.h"

#include <memory>
#include <stdexcept>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

struct FormatFree
{
    void operator()(AVFormatContext* format) const
    {
        if (format->pb) {
            std::uint8_t* bytes = nullptr;
            avio_close_dyn_buf(format->pb, &bytes);
            av_free(bytes);
        }
        avformat_free_context(format);
    }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatFree>;

void check(int result, const char* step)
{
    if (result < 0) {
        throw std::runtime_error(std::string("cannot write WAV: ") + step + " failed");
    }
}

FormatPtr openMuxer(int sampleRate)
{
    AVFormatContext* raw = nullptr;
    check(avformat_alloc_output_context2(&raw, nullptr, "wav", nullptr), "opening the muxer");
    FormatPtr format(raw);
    AVStream* stream = avformat_new_stream(format.get(), nullptr);
    if (!stream) {
        throw std::runtime_error("cannot write WAV: no stream");
    }
    stream->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    stream->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
    stream->codecpar->sample_rate = sampleRate;
    stream->codecpar->bits_per_coded_sample = 16;
    av_channel_layout_default(&stream->codecpar->ch_layout, 1);
    check(avio_open_dyn_buf(&format->pb), "opening the buffer");
    // No "encoder" tag: the header stays the plain 44 bytes.
    format->flags |= AVFMT_FLAG_BITEXACT;
    return format;
}

} // namespace

std::string WavEncoder::encode(std::span<const std::int16_t> samples, int sampleRate)
{
    const FormatPtr format = openMuxer(sampleRate);
    check(avformat_write_header(format.get(), nullptr), "the header");
    // The packet borrows the samples: the muxer copies them into its buffer.
    AVPacket* packet = av_packet_alloc();
    if (!packet) {
        throw std::runtime_error("cannot write WAV: out of memory");
    }
    packet->data = reinterpret_cast<std::uint8_t*>(const_cast<std::int16_t*>(samples.data()));
    packet->size = static_cast<int>(samples.size_bytes());
    packet->stream_index = 0;
    packet->pts = packet->dts = 0;
    packet->duration = static_cast<std::int64_t>(samples.size());
    const int written = samples.empty() ? 0 : av_write_frame(format.get(), packet);
    av_packet_free(&packet);
    check(written, "the samples");
    check(av_write_trailer(format.get()), "the trailer");
    std::uint8_t* bytes = nullptr;
    const int size = avio_close_dyn_buf(format->pb, &bytes);
    format->pb = nullptr;
    std::string file(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    av_free(bytes);
    return file;
}
