#pragma once

#include <QByteArray>
#include <QIODevice>

// A request body that can be read once and never rewound. Qt's HTTP stack sends a request again
// when a connection breaks before a valid reply; it needs to rewind the body for that, so with
// this body the request fails instead of reaching the server a second time.
class OneShotBody final : public QIODevice
{
public:
    explicit OneShotBody(QByteArray bytes, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool reset() override { return false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QByteArray m_bytes;
    qint64 m_position = 0;
};
