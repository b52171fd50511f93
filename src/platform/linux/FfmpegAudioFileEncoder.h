#pragma once

#include "platform/AudioFileEncoder.h"

// libavcodec's native AAC encoder at 32 kbit/s in the `ipod` (.m4a) container of libavformat.
class FfmpegAudioFileEncoder final : public AudioFileEncoder
{
public:
    static constexpr int bitRate = 32000;

    std::optional<PlatformError> writeAac(const QByteArray& pcm, const QString& path) override;
};
