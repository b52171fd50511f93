#include "net/NetworkAddress.h"

#include <QHostAddress>

using namespace Qt::StringLiterals;

namespace NetworkAddress {

bool isLoopbackHost(const QString& host)
{
    if (host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace NetworkAddress
