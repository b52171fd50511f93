#include "AudioDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace {

// Only the containers a recording arrives in. Probing every demuxer FFmpeg has would expose
// playlist and concat formats that open further files on their own.
constexpr const char* allowedFormats = "mov,mp4,m4a,3gp,3g2,mj2,wav";
constexpr int ioBufferSize = 64 * 1024;

struct MemoryFile
{
    std::string_view bytes;
    std::int64_t position = 0;
};

int readPacket(void* opaque, std::uint8_t* buffer, int size)
{
    auto* file = static_cast<MemoryFile*>(opaque);
    const auto remaining = static_cast<std::int64_t>(file->bytes.size()) - file->position;
    const auto n = static_cast<int>(std::min<std::int64_t>(size, remaining));
    if (n <= 0) {
        return AVERROR_EOF;
    }
    std::memcpy(buffer, file->bytes.data() + file->position, static_cast<std::size_t>(n));
    file->position += n;
    return n;
}

// MPEG-4 files written in one pass keep their index at the end, so the demuxer must be able to
// jump there and back.
std::int64_t seekTo(void* opaque, std::int64_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(opaque);
    const auto size = static_cast<std::int64_t>(file->bytes.size());
    std::int64_t target = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = file->position + offset;
        break;
    case SEEK_END:
        target = size + offset;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (target < 0 || target > size) {
        return AVERROR(EINVAL);
    }
    file->position = target;
    return target;
}

struct IoContextFree
{
    void operator()(AVIOContext* io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct FormatFree
{
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecFree
{
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct ResamplerFree
{
    void operator()(SwrContext* swr) const { swr_free(&swr); }
};
struct FrameFree
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

using IoPtr = std::unique_ptr<AVIOContext, IoContextFree>;
using FormatPtr = std::unique_ptr<AVFormatContext, FormatFree>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

IoPtr openMemoryIo(MemoryFile& file)
{
    auto* buffer = static_cast<unsigned char*>(av_malloc(ioBufferSize));
    if (!buffer) {
        return nullptr;
    }
    AVIOContext* io =
        avio_alloc_context(buffer, ioBufferSize, 0, &file, readPacket, nullptr, seekTo);
    if (!io) {
        av_free(buffer);
    }
    return IoPtr(io);
}

FormatPtr openContainer(AVIOContext* io)
{
    AVFormatContext* format = avformat_alloc_context();
    if (!format) {
        return nullptr;
    }
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->format_whitelist = av_strdup(allowedFormats);
    // On failure avformat_open_input frees the context itself.
    if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0) {
        return nullptr;
    }
    FormatPtr owned(format);
    if (avformat_find_stream_info(format, nullptr) < 0) {
        return nullptr;
    }
    return owned;
}

CodecPtr openDecoder(const AVStream& stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec) {
        return nullptr;
    }
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream.codecpar) < 0 ||
        avcodec_open2(context.get(), codec, nullptr) < 0 || context->sample_rate <= 0 ||
        context->ch_layout.nb_channels <= 0) {
        return nullptr;
    }
    return context;
}

ResamplerPtr openResampler(const AVCodecContext& codec)
{
    AVChannelLayout input{};
    if (av_channel_layout_check(&codec.ch_layout) &&
        codec.ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_copy(&input, &codec.ch_layout);
    } else {
        av_channel_layout_default(&input, codec.ch_layout.nb_channels);
    }
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    SwrContext* swr = nullptr;
    const int status = swr_alloc_set_opts2(&swr, &mono, AV_SAMPLE_FMT_S16, AudioDecoder::sampleRate,
                                           &input, codec.sample_fmt, codec.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&input);
    ResamplerPtr owned(swr);
    if (status < 0 || swr_init(swr) < 0) {
        return nullptr;
    }
    return owned;
}

// Feeds decoded frames (or, with none, what the resampler still holds) into the output, within
// the sample budget.
class PcmCollector
{
public:
    PcmCollector(SwrContext& swr, std::size_t maxSamples)
        : m_swr(swr)
        , m_maxSamples(maxSamples)
    {}

    // Whether decoding should go on: false once the budget is exceeded or resampling failed.
    bool add(const AVFrame* frame)
    {
        const int inputSamples = frame ? frame->nb_samples : 0;
        const auto** input =
            frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr;
        const int room = swr_get_out_samples(&m_swr, inputSamples);
        const std::size_t start = m_samples.size();
        m_samples.resize(start + static_cast<std::size_t>(std::max(room, 0)));
        auto* out = reinterpret_cast<std::uint8_t*>(m_samples.data() + start);
        const int written = room < 0 ? room : swr_convert(&m_swr, &out, room, input, inputSamples);
        m_failed |= written < 0;
        m_samples.resize(start + static_cast<std::size_t>(std::max(written, 0)));
        return !m_failed && !full();
    }

    bool full() const { return m_samples.size() > m_maxSamples; }
    bool failed() const { return m_failed; }
    AudioDecoder::Samples take() { return std::move(m_samples); }

private:
    SwrContext& m_swr;
    std::size_t m_maxSamples;
    AudioDecoder::Samples m_samples;
    bool m_failed = false;
};

// Decodes every packet of the stream into the collector; true when some packet was damaged.
bool decodeStream(AVFormatContext& format, int streamIndex, AVCodecContext& codec,
                  PcmCollector& pcm)
{
    FramePtr frame(av_frame_alloc());
    PacketPtr packet(av_packet_alloc());
    if (!frame || !packet) {
        throw std::bad_alloc();
    }
    bool damaged = false;
    // Takes every frame the decoder has ready; false when decoding should stop.
    const auto drain = [&]() {
        int status = 0;
        while ((status = avcodec_receive_frame(&codec, frame.get())) >= 0) {
            if (!pcm.add(frame.get())) {
                return false;
            }
        }
        damaged |= status != AVERROR(EAGAIN) && status != AVERROR_EOF;
        return true;
    };
    while (av_read_frame(&format, packet.get()) >= 0) {
        const bool ours = packet->stream_index == streamIndex;
        // A damaged packet is skipped; the rest of the recording may still be good.
        damaged |= ours && avcodec_send_packet(&codec, packet.get()) < 0;
        av_packet_unref(packet.get());
        if (ours && !drain()) {
            return damaged;
        }
    }
    avcodec_send_packet(&codec, nullptr);
    if (drain()) {
        pcm.add(nullptr);
    }
    return damaged;
}

} // namespace

AudioDecoder::AudioDecoder(std::chrono::seconds maxDuration)
    : m_maxDuration(maxDuration)
{}

std::variant<AudioDecoder::Samples, AudioDecoder::Error>
AudioDecoder::decode(std::string_view file) const
{
    MemoryFile memory{file};
    IoPtr io = openMemoryIo(memory);
    FormatPtr format = io ? openContainer(io.get()) : nullptr;
    const int streamIndex =
        format ? av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) : -1;
    CodecPtr codec = streamIndex >= 0 ? openDecoder(*format->streams[streamIndex]) : nullptr;
    ResamplerPtr swr = codec ? openResampler(*codec) : nullptr;
    if (!swr) {
        return Error::undecodable;
    }
    PcmCollector pcm(*swr, static_cast<std::size_t>(m_maxDuration.count()) * sampleRate);
    const bool damaged = decodeStream(*format, streamIndex, *codec, pcm);
    if (pcm.full()) {
        return Error::tooLong;
    }
    Samples samples = pcm.take();
    if (pcm.failed() || (samples.empty() && damaged)) {
        return Error::undecodable;
    }
    return samples;
}
