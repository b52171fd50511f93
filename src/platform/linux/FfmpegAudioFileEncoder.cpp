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

// Feeds the encoder in frames of its own size, keeping the samples that do not fill one for the
// next call, so the file is the same however the audio was split on its way in.
class FfmpegAacWriter final : public AudioFileWriter
{
public:
    explicit FfmpegAacWriter(const QString& path)
    {
        // The AAC encoder prints its statistics on every close, and warns of the frames it still
        // held when a cancelled recording is dropped; keep stderr for real problems.
        av_log_set_level(AV_LOG_ERROR);
        m_error = openOutput(m_out, QFile::encodeName(path));
        if (!m_error)
            m_error = allocateFrame();
    }

    Result append(QByteArrayView pcm) override
    {
        for (qsizetype at = 0; !m_error && at + 1 < pcm.size();) {
            const int room = m_out.codec->frame_size - m_filled;
            const int samples = int(std::min<qsizetype>(room, (pcm.size() - at) / 2));
            if (m_filled == 0) {
                if (const int rc = av_frame_make_writable(m_frame.get()); rc < 0)
                    return m_error = failure(rc, "encode");
            }
            auto* out = reinterpret_cast<float*>(m_frame->data[0]) + m_filled;
            for (int i = 0; i < samples; ++i) {
                qint16 sample;
                std::memcpy(&sample, pcm.data() + at + 2 * i, sizeof sample);
                out[i] = float(sample) / 32768.0f;
            }
            at += 2 * qsizetype(samples);
            m_filled += samples;
            if (m_filled == m_out.codec->frame_size)
                m_error = sendFrame();
        }
        return m_error;
    }

    Result finish() override
    {
        // The encoder takes a short last frame.
        if (!m_error && m_filled > 0)
            m_error = sendFrame();
        if (!m_error)
            m_error = send(m_out, nullptr, m_packet.get());
        // The trailer carries the sample tables: without it the file does not play.
        if (!m_error) {
            if (const int rc = av_write_trailer(m_out.format.get()); rc < 0)
                m_error = failure(rc, "trailer");
        }
        if (!m_error) {
            if (const int rc = avio_closep(&m_out.format->pb); rc < 0)
                m_error = failure(rc, "close");
        }
        return m_error;
    }

private:
    Result allocateFrame()
    {
        m_frame.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
        if (!m_frame || !m_packet)
            return failure(AVERROR(ENOMEM), "encode");
        m_frame->format = m_out.codec->sample_fmt;
        m_frame->sample_rate = m_out.codec->sample_rate;
        m_frame->nb_samples = m_out.codec->frame_size;
        av_channel_layout_copy(&m_frame->ch_layout, &m_out.codec->ch_layout);
        if (const int rc = av_frame_get_buffer(m_frame.get(), 0); rc < 0)
            return failure(rc, "encode");
        return std::nullopt;
    }

    Result sendFrame()
    {
        m_frame->nb_samples = m_filled;
        m_frame->pts = m_pts;
        m_pts += m_filled;
        m_filled = 0;
        return send(m_out, m_frame.get(), m_packet.get());
    }

    Output m_out;
    std::unique_ptr<AVFrame, FrameCloser> m_frame;
    std::unique_ptr<AVPacket, PacketCloser> m_packet;
    int m_filled = 0; // samples waiting in m_frame
    qint64 m_pts = 0;
    Result m_error;
};

} // namespace

std::unique_ptr<AudioFileWriter> FfmpegAudioFileEncoder::openAac(const QString& path)
{
    return std::make_unique<FfmpegAacWriter>(path);
}
