#pragma once

#include <QByteArray>
#include <QString>

// What came back for one request: an HTTP response, something that was not HTTP, or a transport
// error (refused, offline, timed out, cut off) with the stack's own description.
struct HttpReply
{
    enum class Kind
    {
        http,
        notHttp,
        transportError
    };

    Kind kind = Kind::http;
    int status = 0;
    QByteArray body;
    QString error;
};
