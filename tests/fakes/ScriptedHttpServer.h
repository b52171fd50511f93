#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <deque>

class QTcpSocket;

// A real HTTP/1.1 server on 127.0.0.1 that answers each path from a script and keeps every
// request it received, headers and body as sent, for the test to inspect.
class ScriptedHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        enum class Mode
        {
            respond, // status line, headers and body
            hang,    // read the request, never answer
            garbage, // the body's bytes as they are, not HTTP, then close
        };
        int status = 200;
        QByteArray body;
        Mode mode = Mode::respond;
        QByteArray headers = {}; // further header lines, each ending in "\r\n"
    };

    struct Received
    {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    ScriptedHttpServer();

    QUrl url() const;
    // Queues the answer to the next request for `path`; unscripted requests get a 404.
    void script(const QByteArray& path, Reply reply);
    void script(const QByteArray& path, int status, const QByteArray& body = {});
    QList<Received> receivedAt(const QByteArray& path) const;

    QList<Received> received;
    int unscripted = 0; // requests that met no scripted reply

Q_SIGNALS:
    void requestReceived();

private:
    void accept();
    void readFrom(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Received& request);

    QHash<QByteArray, std::deque<Reply>> m_script;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QTcpServer m_server; // last: its sockets report their disconnection as it goes
};
