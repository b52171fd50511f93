#pragma once

#include <QString>
#include <QUrl>

#include <variant>

// Where the backend is: the build's default, or MURMO_BACKEND_URL from the environment for
// development and tests. Anything not on this machine must be reached over https.
namespace BackendOrigin {

// The base URL, or a message saying why the setting is refused.
std::variant<QUrl, QString> parse(const QString& setting);
// From the environment when set there, else the build's default.
std::variant<QUrl, QString> configured();
// The build's default setting.
QString builtIn();

} // namespace BackendOrigin
