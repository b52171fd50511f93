#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <stop_token>
#include <thread>

class AudioFileEncoder;
class PCMSink;

// Encodes a recording as AAC on a worker thread while it is being captured, so that the file is
// ready moments after the key is released however long the recording was. The file lives in a
// private temporary directory and does not outlive this object.
class TakeEncoder
{
public:
    // Starts the worker, which writes the sink's audio to a new file as it arrives.
    TakeEncoder(AudioFileEncoder& encoder, std::shared_ptr<PCMSink> sink);
    // Abandons the file unless finish() took it.
    ~TakeEncoder();
    TakeEncoder(const TakeEncoder&) = delete;
    TakeEncoder& operator=(const TakeEncoder&) = delete;

    // Once the sink is closed: waits for the worker to encode what is left and close the file,
    // then reads it back. Nothing when any step failed.
    std::optional<QByteArray> finish();

private:
    void encode(std::stop_token stop);

    AudioFileEncoder& m_encoder;
    const std::shared_ptr<PCMSink> m_sink;
    const QString m_path;   // empty when no private directory could be made
    bool m_written = false; // set by the worker, read once it has ended
    std::jthread m_worker;  // last: it starts once everything above exists
};
