#include "integration/history/ApacheWebDav.h"

#include "support/WaitUntil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

const QString modules = u"/usr/lib/apache2/modules"_s;

int freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

bool accepts(int port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    return socket.waitForConnected(200);
}

} // namespace

ApacheWebDav::ApacheWebDav(std::optional<Login> login)
{
    QDir(m_dir.path()).mkpath(u"dav"_s);
    QDir(m_dir.path()).mkpath(u"locks"_s);
    // Started as root, Apache serves as www-data, which must reach the folders.
    if (geteuid() == 0) {
        const passwd* user = getpwnam("www-data");
        QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) |
                                                QFileDevice::ExeOther | QFileDevice::ReadOther);
        for (const char* folder : {"dav", "locks"}) {
            if (user && chown(QFile::encodeName(m_dir.filePath(QString::fromLatin1(folder))),
                              user->pw_uid, user->pw_gid) != 0)
                qWarning("cannot hand %s to www-data", folder);
        }
    }
    // The port is free when probed but may be taken before Apache binds it: try a few.
    for (int attempt = 0; attempt < 5 && !start(login); ++attempt) {
    }
}

ApacheWebDav::~ApacheWebDav()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished();
    }
}

QUrl ApacheWebDav::root() const
{
    return QUrl(u"http://127.0.0.1:%1/"_s.arg(m_port));
}

QString ApacheWebDav::errorLog() const
{
    QFile log(m_dir.filePath(u"error.log"_s));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

bool ApacheWebDav::start(const std::optional<Login>& login)
{
    const int port = freePort();
    writeConfig(port, login);
    m_process.setProgram(u"/usr/sbin/apache2"_s);
    m_process.setArguments({u"-f"_s, m_dir.filePath(u"httpd.conf"_s), u"-DFOREGROUND"_s});
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start();
    const bool ready =
        waitUntil([&] { return m_process.state() == QProcess::NotRunning || accepts(port); },
                  std::chrono::seconds(10));
    if (ready && m_process.state() == QProcess::Running) {
        m_port = port;
        return true;
    }
    m_process.kill();
    m_process.waitForFinished();
    return false;
}

void ApacheWebDav::writeConfig(int port, const std::optional<Login>& login) const
{
    QStringList loads{u"mpm_event"_s, u"authz_core"_s, u"dav"_s, u"dav_fs"_s};
    QString access = u"Require all granted"_s;
    if (login) {
        loads << u"auth_basic"_s << u"authn_core"_s << u"authn_file"_s << u"authz_user"_s;
        access = uR"(AuthType Basic
    AuthName "Murmo"
    AuthUserFile "%1/users"
    Require valid-user)"_s.arg(m_dir.path());
        // Apache on Unix takes no plain-text passwords; SHA-1 in Base64 is one it reads.
        const QByteArray hash =
            QCryptographicHash::hash(login->password.toUtf8(), QCryptographicHash::Sha1);
        QFile users(m_dir.filePath(u"users"_s));
        users.open(QIODevice::WriteOnly);
        users.write(login->user.toUtf8() + ":{SHA}" + hash.toBase64() + '\n');
    }

    QString config;
    for (const QString& module : loads)
        config += u"LoadModule %1_module %2/mod_%1.so\n"_s.arg(module, modules);
    if (geteuid() == 0)
        config += u"User www-data\nGroup www-data\n"_s;
    config += uR"(ServerRoot "%1"
DefaultRuntimeDir "%1"
PidFile "%1/httpd.pid"
ErrorLog "%1/error.log"
LogLevel warn
Listen 127.0.0.1:%2
ServerName 127.0.0.1
DavLockDB "%1/locks/lockdb"
DocumentRoot "%1/dav"
<Directory "%1/dav">
    Dav On
    FileETag Digest
    %3
</Directory>
)"_s.arg(m_dir.path(), QString::number(port), access);

    QFile file(m_dir.filePath(u"httpd.conf"_s));
    file.open(QIODevice::WriteOnly);
    file.write(config.toUtf8());
}
