#include "support/RunningBackend.h"

#include "support/WaitUntil.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace murmo::test {

RunningBackend::RunningBackend(const QString& database, const QStringList& extraArguments, int port)
{
    m_process.setProgram(QString::fromUtf8(MURMO_BACKEND_BINARY));
    m_process.setArguments(QStringList{u"--address"_s, u"127.0.0.1"_s, u"--port"_s,
                                       QString::number(port), u"--workers"_s, u"1"_s,
                                       u"--database"_s, database} +
                           extraArguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    const QRegularExpression listening(u"listening on (http://\\S+)"_s);
    QByteArray printed;
    waitUntil([&] {
        printed += m_process.readAllStandardOutput();
        const auto match = listening.match(QString::fromUtf8(printed));
        if (match.hasMatch())
            m_url = QUrl(match.captured(1));
        return m_url.isValid() || m_process.state() == QProcess::NotRunning;
    });
}

RunningBackend::~RunningBackend()
{
    stop();
}

void RunningBackend::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished();
}

QByteArray spokenWav(const QString& text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"speech.wav"_s);
    QProcess::execute(u"flite"_s, {u"-voice"_s, u"slt"_s, u"-t"_s, text, u"-o"_s, path});
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace murmo::test
