#include "input/TakeEncoder.h"

#include "input/PCMSink.h"
#include "platform/AudioFileEncoder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

// $XDG_RUNTIME_DIR/murmo: only this user can enter it, so file names there cannot be
// hijacked as they could in a shared /tmp. Empty when it cannot be made.
QString privateTemporaryDirectory()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString directory = runtime + u"/murmo"_s;
    const bool ready =
        QDir().mkpath(directory) &&
        QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    return ready ? directory : QString();
}

QString newFilePath()
{
    const QString directory = privateTemporaryDirectory();
    if (directory.isEmpty())
        return {};
    return directory + u"/murmo-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() +
           u".m4a"_s;
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.isEmpty())
        return std::nullopt;
    return bytes;
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
    return m_written ? readWhole(m_path) : std::nullopt;
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
