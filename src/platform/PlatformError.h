#pragma once

#include <QString>

// A failure reported by a platform service, passed on with its own domain, code and
// description.
struct PlatformError
{
    QString domain;
    int code = 0;
    QString description;
};
