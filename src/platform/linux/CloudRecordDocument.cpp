#include "platform/linux/CloudRecordDocument.h"

#include "files/ReadWholeFile.h"
#include "text/JsonWriter.h"

#include <QTemporaryFile>

#include <simdjson.h>

using namespace Qt::StringLiterals;
using simdjson::dom::element;

namespace {

void writeTyped(JsonWriter& json, std::string_view type, auto writeValue)
{
    json.beginObject();
    json.key("type");
    json.utf8String(QByteArrayView(type.data(), qsizetype(type.size())));
    json.key("value");
    writeValue();
    json.endObject();
}

// False when an asset's file cannot be read.
bool writeValue(JsonWriter& json, const CloudValue& value)
{
    if (const auto* text = std::get_if<QString>(&value)) {
        writeTyped(json, "text", [&] { json.string(*text); });
    } else if (const auto* date = std::get_if<QDateTime>(&value)) {
        writeTyped(json, "date", [&] { json.string(date->toUTC().toString(Qt::ISODateWithMs)); });
    } else if (const auto* asset = std::get_if<CloudAsset>(&value)) {
        const auto bytes = readWholeFile(asset->filePath);
        if (!bytes)
            return false;
        writeTyped(json, "asset", [&] { json.utf8String(bytes->toBase64()); });
    } else {
        json.raw(std::get<ForeignCloudValue>(value).encoded);
    }
    return true;
}

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

// An asset whose file could not be written has no file: readers then skip it.
CloudAsset writeAsset(const QByteArray& bytes, const QString& directory)
{
    if (directory.isEmpty())
        return {};
    auto file = std::make_shared<QTemporaryFile>(directory + u"/cloud-asset-XXXXXX"_s);
    if (!file->open() || file->write(bytes) != bytes.size() || !file->flush())
        return {};
    file->close();
    return {file->fileName(), file};
}

// A text, date or asset field; none for any other shape, which stays foreign.
std::optional<CloudValue> typedValue(element field, const QString& assetDirectory)
{
    std::string_view type;
    std::string_view value;
    if (field["type"].get(type) != simdjson::SUCCESS ||
        field["value"].get(value) != simdjson::SUCCESS)
        return std::nullopt;
    if (type == "text")
        return text(value);
    if (type == "date") {
        QDateTime date = QDateTime::fromString(text(value), Qt::ISODateWithMs);
        return date.isValid() ? std::optional<CloudValue>(date) : std::nullopt;
    }
    if (type == "asset") {
        const auto bytes = QByteArray::fromBase64Encoding(
            QByteArray::fromRawData(value.data(), qsizetype(value.size())),
            QByteArray::AbortOnBase64DecodingErrors);
        return bytes ? std::optional<CloudValue>(writeAsset(*bytes, assetDirectory)) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

namespace CloudRecordDocument {

std::optional<QByteArray> encode(const CloudRecord& record)
{
    JsonWriter json;
    json.beginObject();
    json.key("recordType");
    json.string(record.recordType);
    json.key("recordName");
    json.string(record.recordName);
    json.key("fields");
    json.beginObject();
    for (auto field = record.fields.cbegin(); field != record.fields.cend(); ++field) {
        json.key(field.key());
        if (!writeValue(json, field.value()))
            return std::nullopt;
    }
    json.endObject();
    json.endObject();
    return json.take();
}

std::optional<CloudRecord> decode(const QByteArray& bytes, const QString& assetDirectory)
{
    simdjson::dom::parser parser;
    element root;
    std::string_view type;
    std::string_view name;
    simdjson::dom::object fields;
    if (parser.parse(bytes.constData(), std::size_t(bytes.size())).get(root) != simdjson::SUCCESS ||
        root["recordType"].get(type) != simdjson::SUCCESS ||
        root["recordName"].get(name) != simdjson::SUCCESS ||
        root["fields"].get(fields) != simdjson::SUCCESS)
        return std::nullopt;

    CloudRecord record{text(type), text(name), {}, std::nullopt};
    for (const auto [key, field] : fields) {
        std::optional<CloudValue> value = typedValue(field, assetDirectory);
        if (!value)
            value = ForeignCloudValue{QByteArray::fromStdString(simdjson::minify(field))};
        record.fields.insert(text(key), std::move(*value));
    }
    return record;
}

} // namespace CloudRecordDocument
