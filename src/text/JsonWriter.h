#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

#include <optional>
#include <string_view>

// Compact JSON written straight into one buffer, for documents large enough that QJsonDocument
// would keep the main thread waiting. Numbers take the shortest text that reads back as the same
// double; strings are UTF-8 with the escapes JSON requires.
class JsonWriter
{
public:
    explicit JsonWriter(qsizetype expectedSize = 0);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // A member name of characters that need no escaping.
    void key(std::string_view name);
    void key(QStringView name);
    void string(QStringView text);
    void utf8String(QByteArrayView text);
    void number(double value);
    void integer(qint64 value);
    // A value that is already JSON.
    void raw(QByteArrayView json);

    // The document; none when a number had no JSON spelling (infinite or not a number).
    std::optional<QByteArray> take();

private:
    void separate();
    void appendString(QStringView text);
    void escapeFrom(qsizetype start);

    QByteArray m_out;
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    bool m_first = true;
    bool m_afterKey = false;
    bool m_failed = false;
};
