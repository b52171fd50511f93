#pragma once

#include "platform/AudioFileEncoder.h"

// libavcodec's native AAC encoder at 32 kbit/s in the `ipod` (.m4a) container of libavformat.
class FfmpegAudioFileEncoder final : public AudioFileEncoder
{
public:
    static constexpr int bitRate = 32000;

    std::unique_ptr<AudioFileWriter> openAac(const QString& path) override;
};
