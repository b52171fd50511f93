#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

namespace murmo::test {

// The reference backend on a loopback port for one test: a free port unless one is given, and
// the database file given (kept across a stop and a new start on the same port).
class RunningBackend
{
public:
    RunningBackend(const QString& database, const QStringList& extraArguments = {}, int port = 0);
    ~RunningBackend();

    // Invalid when it did not start listening.
    QUrl url() const { return m_url; }
    void stop();

private:
    QProcess m_process;
    QUrl m_url;
};

// Speech as a person would hear it, in a WAV file, made with a voice the recogniser understands.
QByteArray spokenWav(const QString& text);

} // namespace murmo::test
