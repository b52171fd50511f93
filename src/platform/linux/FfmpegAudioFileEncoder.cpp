#include "platform/linux/FfmpegAudioFileEncoder.h"

#include "platform/AudioConverter.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Result = std::optional<PlatformError>;

struct FormatCloser
{
    void operator()(AVFormatContext* format) const
    {
        avio_closep(&format->pb);
        avformat_free_context(format);
    }
};
struct CodecCloser
{
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct FrameCloser
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketCloser
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

struct Output
{
    std::unique_ptr<AVFormatContext, FormatCloser> format;
    std::unique_ptr<AVCodecContext, CodecCloser> codec;
    AVStream* stream = nullptr;
};

PlatformError failure(int code, const char* step)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return {u"FFmpeg"_s, code, QString::fromUtf8(step) + u": "_s + QString::fromUtf8(text)};
}

Result openEncoder(Output& out)
{
    const AVCodec* aac = avcodec_find_encoder_by_name("aac");
    if (!aac)
        return failure(AVERROR_ENCODER_NOT_FOUND, "aac encoder");
    out.codec.reset(avcodec_alloc_context3(aac));
    if (!out.codec)
        return failure(AVERROR(ENOMEM), "aac encoder");
    AVCodecContext* codec = out.codec.get();
    codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec->sample_rate = AudioConverter::targetRate;
    av_channel_layout_default(&codec->ch_layout, 1);
    codec->bit_rate = FfmpegAudioFileEncoder::bitRate;
    codec->time_base = {1, AudioConverter::targetRate};
    if (out.format->oformat->flags & AVFMT_GLOBALHEADER)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (const int rc = avcodec_open2(codec, aac, nullptr); rc < 0)
        return failure(rc, "aac encoder");
    return std::nullopt;
}

Result openOutput(Output& out, const QByteArray& file)
{
    AVFormatContext* format = nullptr;
    if (const int rc = avformat_alloc_output_context2(&format, nullptr, "ipod", file.constData());
        rc < 0)
        return failure(rc, "container");
    out.format.reset(format);
    if (Result error = openEncoder(out))
        return error;
    out.stream = avformat_new_stream(format, nullptr);
    if (!out.stream)
        return failure(AVERROR(ENOMEM), "stream");
    if (const int rc = avcodec_parameters_from_context(out.stream->codecpar, out.codec.get());
        rc < 0)
        return failure(rc, "stream");
    out.stream->time_base = out.codec->time_base;
    if (const int rc = avio_open(&format->pb, file.constData(), AVIO_FLAG_WRITE); rc < 0)
        return failure(rc, "open");
    if (const int rc = avformat_write_header(format, nullptr); rc < 0)
        return failure(rc, "header");
    return std::nullopt;
}

// Sends one frame (null to drain the encoder) and writes every packet that comes out.
Result send(Output& out, const AVFrame* frame, AVPacket* packet)
{
    if (const int rc = avcodec_send_frame(out.codec.get(), frame); rc < 0)
        return failure(rc, "encode");
    for (;;) {
        const int rc = avcodec_receive_packet(out.codec.get(), packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return std::nullopt;
        if (rc < 0)
            return failure(rc, "encode");
        av_packet_rescale_ts(packet, out.codec->time_base, out.stream->time_base);
        packet->stream_index = out.stream->index;
        if (const int written = av_interleaved_write_frame(out.format.get(), packet); written < 0)
            return failure(written, "write");
    }
}

Result encode(Output& out, const QByteArray& pcm)
{
    std::unique_ptr<AVFrame, FrameCloser> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketCloser> packet(av_packet_alloc());
    if (!frame || !packet)
        return failure(AVERROR(ENOMEM), "encode");
    frame->format = out.codec->sample_fmt;
    frame->sample_rate = out.codec->sample_rate;
    frame->nb_samples = out.codec->frame_size;
    av_channel_layout_copy(&frame->ch_layout, &out.codec->ch_layout);
    if (const int rc = av_frame_get_buffer(frame.get(), 0); rc < 0)
        return failure(rc, "encode");

    const qsizetype total = pcm.size() / 2;
    for (qsizetype at = 0; at < total; at += out.codec->frame_size) {
        if (const int rc = av_frame_make_writable(frame.get()); rc < 0)
            return failure(rc, "encode");
        // The encoder takes a short last frame.
        frame->nb_samples = int(std::min<qsizetype>(out.codec->frame_size, total - at));
        auto* samples = reinterpret_cast<float*>(frame->data[0]);
        for (int i = 0; i < frame->nb_samples; ++i) {
            qint16 sample;
            std::memcpy(&sample, pcm.constData() + (at + i) * 2, sizeof sample);
            samples[i] = float(sample) / 32768.0f;
        }
        frame->pts = at;
        if (Result error = send(out, frame.get(), packet.get()))
            return error;
    }
    return send(out, nullptr, packet.get());
}

} // namespace

Result FfmpegAudioFileEncoder::writeAac(const QByteArray& pcm, const QString& path)
{
    // The AAC encoder prints its statistics on every close; keep stderr for real problems.
    av_log_set_level(AV_LOG_WARNING);
    Output out;
    if (Result error = openOutput(out, QFile::encodeName(path)))
        return error;
    if (Result error = encode(out, pcm))
        return error;
    // The trailer carries the sample tables: without it the file does not play.
    if (const int rc = av_write_trailer(out.format.get()); rc < 0)
        return failure(rc, "trailer");
    if (const int rc = avio_closep(&out.format->pb); rc < 0)
        return failure(rc, "close");
    return std::nullopt;
}
