#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>

// Apache httpd serving a WebDAV folder (mod_dav, mod_dav_fs) on 127.0.0.1 and a free port, for
// one test. Strong ETags come from `FileETag Digest`: Apache's default tags of a file changed
// within the last second are weak, and If-Match never matches a weak tag.
class ApacheWebDav
{
public:
    struct Login
    {
        QString user;
        QString password;
    };

    // With a login, every request must carry it (Basic authentication).
    explicit ApacheWebDav(std::optional<Login> login = std::nullopt);
    ~ApacheWebDav();

    bool isRunning() const { return m_process.state() == QProcess::Running && m_port > 0; }
    // The root of the served folder, ending with "/".
    QUrl root() const;
    // What the server logged, for failure messages.
    QString errorLog() const;

private:
    bool start(const std::optional<Login>& login);
    void writeConfig(int port, const std::optional<Login>& login) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
