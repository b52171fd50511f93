#include "recorder/DecodedAudio.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstring>
#include <memory>

namespace murmo::test {

namespace {

struct InputCloser
{
    void operator()(AVFormatContext* input) const { avformat_close_input(&input); }
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

// Sample `i` of channel 0, whether the frame is planar or interleaved.
float firstChannelSample(const AVFrame* frame, int i)
{
    const auto format = AVSampleFormat(frame->format);
    const int stride = av_sample_fmt_is_planar(format) ? 1 : frame->ch_layout.nb_channels;
    const uint8_t* at = frame->data[0] + size_t(i) * stride * av_get_bytes_per_sample(format);
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_S16: {
        int16_t v;
        std::memcpy(&v, at, sizeof v);
        return float(v) / 32768.f;
    }
    case AV_SAMPLE_FMT_S32: {
        int32_t v;
        std::memcpy(&v, at, sizeof v);
        return float(double(v) / 2147483648.0);
    }
    case AV_SAMPLE_FMT_FLT: {
        float v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    default:
        return NAN;
    }
}

void drain(AVCodecContext* codec, AVFrame* frame, DecodedAudio& audio)
{
    while (avcodec_receive_frame(codec, frame) >= 0) {
        for (int i = 0; i < frame->nb_samples; ++i)
            audio.samples.push_back(firstChannelSample(frame, i));
    }
}

} // namespace

double DecodedAudio::audibleSeconds(double threshold) const
{
    const size_t window = size_t(sampleRate / 100);
    double first = -1, last = -1;
    for (size_t at = 0; window > 0 && at + window <= samples.size(); at += window) {
        double sum = 0;
        for (size_t i = at; i < at + window; ++i)
            sum += double(samples[i]) * samples[i];
        if (std::sqrt(sum / double(window)) <= threshold)
            continue;
        if (first < 0)
            first = double(at);
        last = double(at + window);
    }
    return first < 0 ? 0 : (last - first) / sampleRate;
}

std::optional<DecodedAudio> decodeAudioFile(const QString& path)
{
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return std::nullopt;
    std::unique_ptr<AVFormatContext, InputCloser> input(opened);
    const AVCodec* decoder = nullptr;
    const int stream =
        avformat_find_stream_info(input.get(), nullptr) < 0
            ? -1
            : av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream < 0)
        return std::nullopt;
    std::unique_ptr<AVCodecContext, CodecCloser> codec(avcodec_alloc_context3(decoder));
    std::unique_ptr<AVFrame, FrameCloser> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketCloser> packet(av_packet_alloc());
    if (!codec || !frame || !packet ||
        avcodec_parameters_to_context(codec.get(), input->streams[stream]->codecpar) < 0 ||
        avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return std::nullopt;

    DecodedAudio audio;
    audio.sampleRate = codec->sample_rate;
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(codec.get(), packet.get()) >= 0)
            drain(codec.get(), frame.get(), audio);
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(codec.get(), nullptr);
    drain(codec.get(), frame.get(), audio);
    return audio;
}

std::optional<DecodedAudio> decodeAudio(const QByteArray& data, const QString& ext)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("audio.") + ext));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return std::nullopt;
    file.close();
    return decodeAudioFile(file.fileName());
}

} // namespace murmo::test
