#include "api/ApiJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace ApiJson {

namespace {

Decoded<QJsonObject> object(const QByteArray& body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return DecodeError{error.errorString()};
    if (!document.isObject())
        return DecodeError{u"The reply is not a JSON object."_s};
    return document.object();
}

// Reads one member into `out`; a wrong type always fails, absence fails only when required.
class Reader
{
public:
    explicit Reader(QJsonObject object)
        : m_object(std::move(object))
    {}

    void text(const QString& key, QString& out) { required(key, out); }
    void text(const QString& key, std::optional<QString>& out)
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return;
        QString text;
        if (read(key, value, text))
            out = text;
    }
    void texts(const QString& key, QStringList& out)
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isArray())
            return fail(key);
        for (const QJsonValue& element : value.toArray()) {
            if (!element.isString())
                return fail(key);
            out.append(element.toString());
        }
    }
    template<class T, class Fields>
    void objects(const QString& key, QList<T>& out, Fields fields)
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isArray())
            return fail(key);
        for (const QJsonValue& element : value.toArray()) {
            Reader inner(element.toObject());
            if (!element.isObject())
                return fail(key);
            T item;
            fields(inner, item);
            if (!inner.error().isEmpty())
                return fail(key + u'.' + inner.error());
            out.append(item);
        }
    }
    // The first member that failed, or empty.
    QString error() const { return m_error; }

private:
    void required(const QString& key, QString& out) { read(key, m_object.value(key), out); }
    bool read(const QString& key, const QJsonValue& value, QString& out)
    {
        if (!value.isString()) {
            fail(key);
            return false;
        }
        out = value.toString();
        return true;
    }
    void fail(const QString& key)
    {
        if (m_error.isEmpty())
            m_error = key;
    }

    QJsonObject m_object;
    QString m_error;
};

template<class T>
Decoded<T> finish(const Reader& reader, T value)
{
    if (!reader.error().isEmpty())
        return DecodeError{
            u"Missing or mistyped member \"%1\" in the reply."_s.arg(reader.error())};
    return value;
}

} // namespace

Decoded<DictationResponse> dictationResponse(const QByteArray& body)
{
    const Decoded<QJsonObject> parsed = object(body);
    if (const auto* error = std::get_if<DecodeError>(&parsed))
        return *error;
    Reader reader(std::get<QJsonObject>(parsed));
    DictationResponse response;
    reader.text(u"text"_s, response.text);
    reader.text(u"raw"_s, response.raw);
    reader.text(u"original"_s, response.original);
    reader.text(u"category"_s, response.category);
    return finish(reader, response);
}

std::optional<QString> registrationToken(const QByteArray& body)
{
    const Decoded<QJsonObject> parsed = object(body);
    const auto* members = std::get_if<QJsonObject>(&parsed);
    if (!members)
        return std::nullopt;
    for (const QJsonValue& value : *members) {
        if (!value.isString())
            return std::nullopt;
    }
    if (!members->contains(u"token"_s))
        return std::nullopt;
    return members->value(u"token"_s).toString();
}

std::optional<Insights> insights(const QByteArray& body)
{
    const Decoded<QJsonObject> parsed = object(body);
    const auto* members = std::get_if<QJsonObject>(&parsed);
    if (!members)
        return std::nullopt;
    Reader reader(*members);
    Insights result;
    reader.text(u"summary"_s, result.summary);
    reader.texts(u"strengths"_s, result.strengths);
    reader.objects(u"suggestions"_s, result.suggestions, [](Reader& r, Insights::Suggestion& s) {
        r.text(u"title"_s, s.title);
        r.text(u"detail"_s, s.detail);
    });
    reader.objects(u"resources"_s, result.resources, [](Reader& r, Insights::Resource& s) {
        r.text(u"title"_s, s.title);
        r.text(u"why"_s, s.why);
    });
    if (!reader.error().isEmpty())
        return std::nullopt;
    return result;
}

Decoded<QString> summary(const QByteArray& body)
{
    const Decoded<QJsonObject> parsed = object(body);
    if (const auto* error = std::get_if<DecodeError>(&parsed))
        return *error;
    Reader reader(std::get<QJsonObject>(parsed));
    QString text;
    reader.text(u"summary"_s, text);
    return finish(reader, text);
}

} // namespace ApiJson
