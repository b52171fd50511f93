#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Logins kept in a ~/.netrc file: "machine HOST login NAME password SECRET" entries and an
// optional "default" entry, as curl and ftp read them.
namespace Netrc {

struct Login
{
    QString user;
    QString password;
};

// The login for `host`: its own entry, else the default one; none when neither exists.
std::optional<Login> find(const QByteArray& contents, const QString& host);

} // namespace Netrc
