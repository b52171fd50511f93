#include "input/TakeEncoder.h"

#include "files/PrivateTemporaryDirectory.h"
#include "files/ReadWholeFile.h"
#include "input/PCMSink.h"
#include "platform/AudioFileEncoder.h"

#include <QFile>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

QString newFilePath()
{
    const QString directory = PrivateTemporaryDirectory::path();
    if (directory.isEmpty())
        return {};
    return directory + u"/murmo-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() +
           u".m4a"_s;
}

} // namespace

TakeEncoder::TakeEncoder(AudioFileEncoder& encoder, std::shared_ptr<PCMSink> sink)
    : m_encoder(encoder)
    , m_sink(std::move(sink))
    , m_path(newFilePath())
{
    if (!m_path.isEmpty())
        m_worker = std::jthread([this](std::stop_token stop) { encode(stop); });
}

TakeEncoder::~TakeEncoder()
{
    m_worker.request_stop();
    if (m_worker.joinable())
        m_worker.join();
    // Whatever happened, nothing of the recording stays on disk.
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

std::optional<QByteArray> TakeEncoder::finish()
{
    if (m_worker.joinable())
        m_worker.join();
    if (!m_written)
        return std::nullopt;
    auto bytes = readWholeFile(m_path);
    if (bytes && bytes->isEmpty())
        return std::nullopt;
    return bytes;
}

void TakeEncoder::encode(std::stop_token stop)
{
    const auto writer = m_encoder.openAac(m_path);
    qsizetype encoded = 0;
    for (;;) {
        const QByteArray pcm = m_sink->waitForPcmAfter(encoded, stop);
        if (stop.stop_requested())
            return;
        if (pcm.isEmpty())
            break; // closed, and everything is encoded
        if (writer->append(pcm))
            return;
        encoded += pcm.size();
    }
    m_written = !writer->finish();
}
