#include "text/JsonWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool needsEscape(char byte)
{
    return (static_cast<unsigned char>(byte) < 0x20) | (byte == '"') | (byte == '\\');
}

// Without an early exit the compiler checks many bytes at once.
bool anyNeedsEscape(const char* begin, const char* end)
{
    bool found = false;
    for (const char* at = begin; at != end; ++at)
        found |= needsEscape(*at);
    return found;
}

void appendEscape(QByteArray& out, char byte)
{
    switch (byte) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        static constexpr char hex[] = "0123456789abcdef";
        const char escaped[] = {'\\', 'u', '0', '0', hex[(byte >> 4) & 0xf], hex[byte & 0xf]};
        out.append(escaped, sizeof escaped);
    }
}

} // namespace

JsonWriter::JsonWriter(qsizetype expectedSize)
{
    m_out.reserve(expectedSize);
}

void JsonWriter::separate()
{
    if (m_afterKey)
        m_afterKey = false;
    else if (!m_first)
        m_out += ',';
    // Whatever comes next in this container follows the value written now.
    m_first = false;
}

void JsonWriter::beginObject()
{
    separate();
    m_out += '{';
    m_first = true;
}

void JsonWriter::endObject()
{
    m_out += '}';
    m_first = false;
}

void JsonWriter::beginArray()
{
    separate();
    m_out += '[';
    m_first = true;
}

void JsonWriter::endArray()
{
    m_out += ']';
    m_first = false;
}

void JsonWriter::key(std::string_view name)
{
    separate();
    m_out += '"';
    m_out.append(name.data(), qsizetype(name.size()));
    m_out += "\":";
    m_afterKey = true;
}

void JsonWriter::key(QStringView name)
{
    separate();
    appendString(name);
    m_out += ':';
    m_afterKey = true;
}

void JsonWriter::string(QStringView text)
{
    separate();
    appendString(text);
}

void JsonWriter::appendString(QStringView text)
{
    m_out += '"';
    const qsizetype start = m_out.size();
    m_out.resize(start + m_utf8.requiredSpace(text.size()));
    char* end = m_utf8.appendToBuffer(m_out.data() + start, text);
    m_out.truncate(end - m_out.constData());
    escapeFrom(start);
    m_out += '"';
}

void JsonWriter::utf8String(QByteArrayView text)
{
    separate();
    m_out += '"';
    const qsizetype start = m_out.size();
    m_out += text;
    escapeFrom(start);
    m_out += '"';
}

// Most text has nothing to escape, so the UTF-8 goes in whole and only a text that needs
// escapes is rewritten from its first one.
void JsonWriter::escapeFrom(qsizetype start)
{
    const char* begin = m_out.constData();
    if (!anyNeedsEscape(begin + start, begin + m_out.size()))
        return;
    const char* found = std::find_if(begin + start, begin + m_out.size(), needsEscape);
    const QByteArray rest = m_out.sliced(found - begin);
    m_out.truncate(found - begin);
    for (char byte : rest) {
        if (needsEscape(byte))
            appendEscape(m_out, byte);
        else
            m_out += byte;
    }
}

void JsonWriter::number(double value)
{
    separate();
    if (!std::isfinite(value)) {
        m_failed = true;
        return;
    }
    // Whole numbers beyond 64 bits would come out as bare digits, which readers such as
    // simdjson refuse as too large an integer: those are written with an exponent.
    char text[32];
    const auto written =
        std::fabs(value) < 0x1p63
            ? std::to_chars(std::begin(text), std::end(text), value)
            : std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific);
    m_out.append(text, written.ptr - text);
}

void JsonWriter::integer(qint64 value)
{
    separate();
    char text[24];
    const auto written = std::to_chars(std::begin(text), std::end(text), value);
    m_out.append(text, written.ptr - text);
}

void JsonWriter::raw(QByteArrayView json)
{
    separate();
    m_out += json;
}

std::optional<QByteArray> JsonWriter::take()
{
    if (m_failed)
        return std::nullopt;
    return std::exchange(m_out, {});
}
