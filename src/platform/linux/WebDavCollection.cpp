#include "platform/linux/WebDavCollection.h"

#include "net/NetworkAddress.h"
#include "platform/linux/Netrc.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// The setting as it may be shown: without its password.
QString withoutPassword(const QString& setting)
{
    QUrl url(setting);
    url.setPassword({});
    return url.isValid() ? url.toString() : u"(not a URL)"_s;
}

} // namespace

std::variant<WebDavCollection, QString> WebDavCollection::parse(const QString& setting,
                                                                const QString& netrcPath)
{
    if (setting.isEmpty())
        return u"No cloud folder is set (MURMO_CLOUD_URL is empty)."_s;
    QUrl url(setting, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s) ||
        url.hasQuery() || url.hasFragment()) {
        return u"The cloud folder \"%1\" is not an http or https URL."_s.arg(
            withoutPassword(setting));
    }
    if (scheme == u"http"_s && !NetworkAddress::isLoopbackHost(url.host())) {
        return u"The cloud folder \"%1\" is not on this machine, so it must use https."_s.arg(
            withoutPassword(setting));
    }

    WebDavCollection collection;
    collection.user = url.userName();
    collection.password = url.password();
    if (collection.user.isEmpty()) {
        QFile netrc(netrcPath);
        if (netrc.open(QIODevice::ReadOnly)) {
            if (const auto login = Netrc::find(netrc.readAll(), url.host())) {
                collection.user = login->user;
                collection.password = login->password;
            }
        }
    }
    url.setUserInfo({});
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    collection.url = url;
    return collection;
}

std::variant<WebDavCollection, QString> WebDavCollection::configured()
{
    return parse(qEnvironmentVariable("MURMO_CLOUD_URL"), QDir::home().filePath(u".netrc"_s));
}
