#pragma once

#include "platform/AudioFormat.h"

#include <QByteArrayView>

// One captured buffer of interleaved frames; the bytes belong to the caller and are valid only
// during the call that hands the buffer over.
struct AudioBuffer
{
    AudioFormat format;
    QByteArrayView bytes;

    qsizetype frameCount() const
    {
        const int frameBytes = format.bytesPerFrame();
        return frameBytes > 0 ? bytes.size() / frameBytes : 0;
    }
};
