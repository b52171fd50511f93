#pragma once

#include "platform/AudioFileWriter.h"

#include <QString>

#include <memory>

// Writes recordings as compressed audio files. May be used from any one thread at a time.
class AudioFileEncoder
{
public:
    virtual ~AudioFileEncoder() = default;
    // Begins an AAC file in an MPEG-4 (.m4a) container at `path`. Never null: when the file
    // cannot be begun, the writer's calls return why.
    virtual std::unique_ptr<AudioFileWriter> openAac(const QString& path) = 0;
};
