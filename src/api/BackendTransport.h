#pragma once

#include "api/HttpReply.h"
#include "platform/Scheduler.h"

#include <QUrl>

#include <QCoroTask>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

// Sends one JSON POST and waits for its reply without blocking the main thread. The time-out
// counts from the last sign of progress, so a long upload is not cut off while it moves.
class BackendTransport
{
public:
    struct Request
    {
        QUrl url;
        std::optional<QByteArray> body;       // none: the request has no body at all
        std::optional<QString> bearerToken;   // none: no Authorization header
        std::chrono::milliseconds timeout{0}; // of inactivity
    };

    BackendTransport(QNetworkAccessManager& network, Scheduler& scheduler);

    QCoro::Task<HttpReply> post(Request request);

private:
    QNetworkAccessManager& m_network;
    Scheduler& m_scheduler;
};
