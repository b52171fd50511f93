#include "history/HistoryCodec.h"

#include "text/JsonWriter.h"

#include <simdjson.h>

#include <array>
#include <string>
#include <vector>

using simdjson::dom::element;
using simdjson::dom::element_type;

static_assert(HistoryCodec::spareCapacity == simdjson::SIMDJSON_PADDING);

namespace {

// The standard text form, 8-4-4-4-12 upper-case hexadecimal digits, quoted for JSON.
std::array<char, 38> quotedUuid(const QUuid& id)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    const std::array<uint8_t, 16> bytes{uint8_t(id.data1 >> 24),
                                        uint8_t(id.data1 >> 16),
                                        uint8_t(id.data1 >> 8),
                                        uint8_t(id.data1),
                                        uint8_t(id.data2 >> 8),
                                        uint8_t(id.data2),
                                        uint8_t(id.data3 >> 8),
                                        uint8_t(id.data3),
                                        id.data4[0],
                                        id.data4[1],
                                        id.data4[2],
                                        id.data4[3],
                                        id.data4[4],
                                        id.data4[5],
                                        id.data4[6],
                                        id.data4[7]};
    std::array<char, 38> text{};
    qsizetype at = 0;
    text[at++] = '"';
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text[at++] = '-';
        text[at++] = hex[bytes[i] >> 4];
        text[at++] = hex[bytes[i] & 0xf];
    }
    text[at] = '"';
    return text;
}

void writeUuid(JsonWriter& json, const QUuid& id)
{
    const auto text = quotedUuid(id);
    json.raw(QByteArrayView(text.data(), qsizetype(text.size())));
}

void writeOptional(JsonWriter& json, std::string_view key, const std::optional<QString>& value)
{
    if (value) {
        json.key(key);
        json.string(*value);
    }
}

void writeOptional(JsonWriter& json, std::string_view key, const std::optional<double>& value)
{
    if (value) {
        json.key(key);
        json.number(*value);
    }
}

void writeItem(JsonWriter& json, const HistoryItem& item)
{
    json.beginObject();
    json.key("id");
    writeUuid(json, item.id);
    json.key("text");
    json.string(item.text);
    json.key("raw");
    json.string(item.raw);
    json.key("createdAt");
    json.number(item.createdAt);
    writeOptional(json, "category", item.category);
    writeOptional(json, "translatedTo", item.translatedTo);
    writeOptional(json, "sentAt", item.sentAt);
    writeOptional(json, "sentVia", item.sentVia);
    writeOptional(json, "durationSec", item.durationSec);
    writeOptional(json, "device", item.device);
    json.endObject();
}

// Room for the whole document at once: text and raw dominate, the rest is about 200 bytes.
qsizetype expectedSize(const HistoryBackup& document)
{
    qsizetype size = 64 + 40 * document.deleted.size();
    for (const HistoryItem& item : document.history)
        size += 200 + item.text.size() + item.raw.size();
    return size + size / 8;
}

// Records repeat a few labels ("mac", a handful of categories): each is kept once and shared,
// which saves an allocation per record and the memory of many equal copies.
class Labels
{
public:
    QString text(std::string_view utf8)
    {
        for (const auto& [bytes, label] : m_seen) {
            if (bytes == utf8)
                return label;
        }
        QString label = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
        if (m_seen.size() < 16)
            m_seen.emplace_back(utf8, label);
        return label;
    }

private:
    std::vector<std::pair<std::string, QString>> m_seen;
};

// Readers of single values: false when the value has the wrong JSON type.

bool read(element value, QString& out)
{
    std::string_view text;
    if (value.get(text) != simdjson::SUCCESS)
        return false;
    out = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return true;
}

bool read(element value, double& out)
{
    // Integers are numbers too; the parser refuses numbers out of a double's range.
    return value.is_number() && value.get(out) == simdjson::SUCCESS;
}

bool read(element value, qint64& out)
{
    int64_t number = 0;
    if (value.type() != element_type::INT64 || value.get(number) != simdjson::SUCCESS)
        return false;
    out = number;
    return true;
}

int hexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    const char lower = char(digit | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Only the 36-character form, with digits of either case. Read by hand: a history holds a
// hundred thousand of them, and the general parsers take a third of the time of loading it.
bool read(element value, QUuid& out)
{
    std::string_view text;
    if (value.get(text) != simdjson::SUCCESS || text.size() != 36)
        return false;
    std::array<char, 16> bytes{};
    std::size_t at = 0;
    for (char& byte : bytes) {
        if (at == 8 || at == 13 || at == 18 || at == 23) {
            if (text[at++] != '-')
                return false;
        }
        const int high = hexValue(text[at]);
        const int low = hexValue(text[at + 1]);
        if (high < 0 || low < 0)
            return false;
        byte = char(high << 4 | low);
        at += 2;
    }
    out = QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return true;
}

bool read(element value, std::optional<QString>& out, Labels& labels)
{
    std::string_view text;
    if (value.is_null())
        out.reset();
    else if (value.get(text) == simdjson::SUCCESS)
        out = labels.text(text);
    else
        return false;
    return true;
}

bool read(element value, std::optional<double>& out)
{
    double number = 0;
    if (value.is_null())
        out.reset();
    else if (read(value, number))
        out = number;
    else
        return false;
    return true;
}

std::optional<HistoryItem> readItem(element value, Labels& labels)
{
    simdjson::dom::object members;
    if (value.get(members) != simdjson::SUCCESS)
        return std::nullopt;
    HistoryItem item;
    bool id = false, text = false, raw = false, createdAt = false, ok = true;
    for (const auto [key, member] : members) {
        if (key == "id")
            ok = id = read(member, item.id);
        else if (key == "text")
            ok = text = read(member, item.text);
        else if (key == "raw")
            ok = raw = read(member, item.raw);
        else if (key == "createdAt")
            ok = createdAt = read(member, item.createdAt);
        else if (key == "category")
            ok = read(member, item.category, labels);
        else if (key == "translatedTo")
            ok = read(member, item.translatedTo, labels);
        else if (key == "sentAt")
            ok = read(member, item.sentAt);
        else if (key == "sentVia")
            ok = read(member, item.sentVia, labels);
        else if (key == "durationSec")
            ok = read(member, item.durationSec);
        else if (key == "device")
            ok = read(member, item.device, labels);
        if (!ok)
            return std::nullopt;
    }
    if (!(id && text && raw && createdAt))
        return std::nullopt;
    return item;
}

bool readItems(element value, QList<HistoryItem>& out)
{
    simdjson::dom::array elements;
    if (value.get(elements) != simdjson::SUCCESS)
        return false;
    out.reserve(qsizetype(elements.size()));
    Labels labels;
    for (const element record : elements) {
        auto item = readItem(record, labels);
        if (!item)
            return false;
        out.append(std::move(*item));
    }
    return true;
}

bool readIds(element value, QList<QUuid>& out)
{
    if (value.is_null())
        return true;
    simdjson::dom::array elements;
    if (value.get(elements) != simdjson::SUCCESS)
        return false;
    out.reserve(qsizetype(elements.size()));
    for (const element text : elements) {
        QUuid id;
        if (!read(text, id))
            return false;
        out.append(id);
    }
    return true;
}

std::optional<HistoryBackup> readBackup(element value)
{
    simdjson::dom::object members;
    if (value.get(members) != simdjson::SUCCESS)
        return std::nullopt;
    HistoryBackup document;
    bool version = false, exportedAt = false, history = false, ok = true;
    for (const auto [key, member] : members) {
        if (key == "version")
            ok = version = read(member, document.version);
        else if (key == "exportedAt")
            ok = exportedAt = read(member, document.exportedAt);
        else if (key == "history")
            ok = history = readItems(member, document.history);
        else if (key == "deleted")
            ok = readIds(member, document.deleted);
        if (!ok)
            return std::nullopt;
    }
    if (!(version && exportedAt && history))
        return std::nullopt;
    return document;
}

// Parses without copying when the caller's buffer has the parser's padding to spare.
std::optional<element> parse(simdjson::dom::parser& parser, const QByteArray& bytes)
{
    const bool padded = bytes.capacity() - bytes.size() >= HistoryCodec::spareCapacity;
    element root;
    if (parser.parse(bytes.constData(), std::size_t(bytes.size()), !padded).get(root) !=
        simdjson::SUCCESS)
        return std::nullopt;
    return root;
}

} // namespace

namespace HistoryCodec {

std::optional<QByteArray> encode(const HistoryBackup& document)
{
    JsonWriter json(expectedSize(document));
    json.beginObject();
    json.key("version");
    json.integer(document.version);
    json.key("exportedAt");
    json.number(document.exportedAt);
    json.key("history");
    json.beginArray();
    for (const HistoryItem& item : document.history)
        writeItem(json, item);
    json.endArray();
    json.key("deleted");
    json.beginArray();
    for (const QUuid& id : document.deleted)
        writeUuid(json, id);
    json.endArray();
    json.endObject();
    return json.take();
}

std::optional<HistoryBackup> decode(const QByteArray& bytes)
{
    simdjson::dom::parser parser;
    const auto root = parse(parser, bytes);
    return root ? readBackup(*root) : std::nullopt;
}

std::optional<HistoryBackup> decodePayload(const QByteArray& bytes)
{
    simdjson::dom::parser parser;
    const auto root = parse(parser, bytes);
    if (!root)
        return std::nullopt;
    if (root->is_object())
        return readBackup(*root);
    HistoryBackup document;
    if (!readItems(*root, document.history))
        return std::nullopt;
    return document;
}

} // namespace HistoryCodec
