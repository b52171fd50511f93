#pragma once

#include "platform/PlatformError.h"

#include <QByteArrayView>

#include <optional>

// One audio file being written while its audio arrives. Errors stick: after the first, every
// later call returns it again.
class AudioFileWriter
{
public:
    virtual ~AudioFileWriter() = default;
    // Adds 16 kHz mono signed 16-bit little-endian samples.
    virtual std::optional<PlatformError> append(QByteArrayView pcm) = 0;
    // Encodes what is left and closes the file, which is complete once this succeeds.
    virtual std::optional<PlatformError> finish() = 0;
};
