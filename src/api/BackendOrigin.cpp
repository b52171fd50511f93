#include "api/BackendOrigin.h"

#include "net/NetworkAddress.h"

using namespace Qt::StringLiterals;

namespace BackendOrigin {

std::variant<QUrl, QString> parse(const QString& setting)
{
    const QUrl url(setting, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s) ||
        url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty()) {
        return u"The backend address \"%1\" is not an http or https URL."_s.arg(setting);
    }
    if (scheme == u"http"_s && !NetworkAddress::isLoopbackHost(url.host())) {
        return u"The backend address \"%1\" is not on this machine, so it must use https."_s.arg(
            setting);
    }
    return url;
}

std::variant<QUrl, QString> configured()
{
    const QString fromEnvironment = qEnvironmentVariable("MURMO_BACKEND_URL");
    return parse(fromEnvironment.isEmpty() ? builtIn() : fromEnvironment);
}

QString builtIn()
{
    return QString::fromUtf8(MURMO_BACKEND_URL);
}

} // namespace BackendOrigin
