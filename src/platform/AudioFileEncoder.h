#pragma once

#include "platform/PlatformError.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Writes finished recordings as compressed audio files.
class AudioFileEncoder
{
public:
    virtual ~AudioFileEncoder() = default;
    // Writes 16 kHz mono signed 16-bit little-endian `pcm` to `path` as AAC in an MPEG-4 (.m4a)
    // container, complete and closed when this returns; the error when it could not.
    virtual std::optional<PlatformError> writeAac(const QByteArray& pcm, const QString& path) = 0;
};
