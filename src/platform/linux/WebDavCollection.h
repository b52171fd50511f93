#pragma once

#include <QString>
#include <QUrl>

#include <variant>

// The WebDAV collection (a folder of Nextcloud or any WebDAV server) that holds the cloud
// records, named by the MURMO_CLOUD_URL environment variable. The login comes from the URL's
// user part or from ~/.netrc. Plain http is accepted only on this machine.
struct WebDavCollection
{
    QUrl url; // ends with "/", no user part
    QString user;
    QString password;

    // The collection, or a message saying why the setting is refused.
    static std::variant<WebDavCollection, QString> parse(const QString& setting,
                                                         const QString& netrcPath);
    // From MURMO_CLOUD_URL and ~/.netrc.
    static std::variant<WebDavCollection, QString> configured();
};
