#include "platform/linux/JsonPreferencesStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

std::optional<PreferencesStore::Value> fromJson(const QJsonValue& json)
{
    switch (json.type()) {
    case QJsonValue::String:
        return json.toString();
    case QJsonValue::Bool:
        return json.toBool();
    case QJsonValue::Double:
        return json.toDouble();
    case QJsonValue::Array: {
        QStringList texts;
        for (const QJsonValue& element : json.toArray()) {
            if (!element.isString())
                return std::nullopt;
            texts.append(element.toString());
        }
        return texts;
    }
    default:
        return std::nullopt;
    }
}

QJsonValue toJson(const PreferencesStore::Value& value)
{
    return std::visit(
        [](const auto& v) -> QJsonValue {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QStringList>)
                return QJsonArray::fromStringList(v);
            else
                return QJsonValue(v);
        },
        value);
}

} // namespace

JsonPreferencesStore::JsonPreferencesStore(QString filePath)
    : m_path(std::move(filePath))
{}

QString JsonPreferencesStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/Murmo/preferences.json"_s;
}

std::optional<PreferencesStore::Value> JsonPreferencesStore::value(const QString& key) const
{
    reloadIfChanged();
    const auto found = m_document.constFind(key);
    if (found == m_document.constEnd())
        return std::nullopt;
    return fromJson(*found);
}

void JsonPreferencesStore::setValue(const QString& key, const Value& value)
{
    if (const double* number = std::get_if<double>(&value); number && !std::isfinite(*number))
        return; // JSON has no spelling for these; keep the previous value rather than null
    reloadIfChanged();
    m_document.insert(key, toJson(value));
    // A failed write keeps the value in memory; the next write tries again.
    write();
}

JsonPreferencesStore::FileStamp JsonPreferencesStore::currentStamp() const
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified()};
}

void JsonPreferencesStore::reloadIfChanged() const
{
    const FileStamp stamp = currentStamp();
    if (m_everLoaded && stamp == m_loaded)
        return;
    m_everLoaded = true;
    m_loaded = stamp;
    m_unreadable = false;
    m_document = {};
    if (!stamp.exists)
        return;

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        m_unreadable = true;
        return;
    }
    m_document = document.object();
}

void JsonPreferencesStore::moveUnreadableFileAside()
{
    // Keep what the user had: a damaged file may still hold settings worth recovering by hand.
    const QString stamp = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    QString aside = m_path + u".unreadable-"_s + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + u".unreadable-"_s + stamp + u'-' + QString::number(n);
    if (QFile::rename(m_path, aside))
        m_unreadable = false;
}

bool JsonPreferencesStore::write()
{
    if (m_unreadable)
        moveUnreadableFileAside();
    if (m_unreadable)
        return false; // never overwrite a file we could not read

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(m_document).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return false;
    m_loaded = currentStamp();
    return true;
}
