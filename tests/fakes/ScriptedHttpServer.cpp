#include "fakes/ScriptedHttpServer.h"

#include <QTcpSocket>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A complete request in `buffer`, taken out of it; none while more bytes are needed.
std::optional<ScriptedHttpServer::Received> takeRequest(QByteArray& buffer)
{
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    ScriptedHttpServer::Received request{requestLine.value(0), requestLine.value(1), {}, {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return std::nullopt;
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    return request;
}

} // namespace

ScriptedHttpServer::ScriptedHttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedHttpServer::accept);
}

QUrl ScriptedHttpServer::url() const
{
    return QUrl(u"http://127.0.0.1:%1"_s.arg(m_server.serverPort()));
}

void ScriptedHttpServer::script(const QByteArray& path, Reply reply)
{
    m_script[path].push_back(std::move(reply));
}

void ScriptedHttpServer::script(const QByteArray& path, int status, const QByteArray& body)
{
    script(path, Reply{status, body, Reply::Mode::respond});
}

QList<ScriptedHttpServer::Received> ScriptedHttpServer::receivedAt(const QByteArray& path) const
{
    QList<Received> matching;
    for (const Received& request : received) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

void ScriptedHttpServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void ScriptedHttpServer::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    while (const std::optional<Received> request = takeRequest(buffer)) {
        received.append(*request);
        Q_EMIT requestReceived();
        answer(socket, *request);
    }
}

void ScriptedHttpServer::answer(QTcpSocket* socket, const Received& request)
{
    std::deque<Reply>& queue = m_script[request.path];
    unscripted += queue.empty();
    const Reply reply = queue.empty() ? Reply{404, {}, Reply::Mode::respond} : queue.front();
    if (!queue.empty())
        queue.pop_front();
    switch (reply.mode) {
    case Reply::Mode::hang:
        return;
    case Reply::Mode::garbage:
        socket->write(reply.body);
        break;
    case Reply::Mode::respond:
        socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n" +
                      "Content-Type: application/json\r\nContent-Length: " +
                      QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n" +
                      reply.headers + "\r\n" + reply.body);
        break;
    }
    socket->disconnectFromHost();
}
