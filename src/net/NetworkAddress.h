#pragma once

#include <QString>

namespace NetworkAddress {

// "localhost" or a loopback address: the only hosts plain http may reach, since anywhere else
// a request and its credentials could be read on the way.
bool isLoopbackHost(const QString& host);

} // namespace NetworkAddress
