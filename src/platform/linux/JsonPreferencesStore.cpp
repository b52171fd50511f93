#include "platform/linux/JsonPreferencesStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Another Murmo holds the lock only for one read and one small write.
constexpr int lockWaitMs = 2000;

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
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + u".lock"_s);
    // A lock that stays taken must not freeze the user's choice: it is written regardless.
    lock.tryLock(lockWaitMs);
    reload();
    // Values whose write failed stay pending and go out with the next write that succeeds.
    m_pending.insert(key, toJson(value));
    for (auto pending = m_pending.constBegin(); pending != m_pending.constEnd(); ++pending)
        m_document.insert(pending.key(), *pending);
    if (write())
        m_pending = {};
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
    if (!m_everLoaded || currentStamp() != m_loaded)
        reload();
}

void JsonPreferencesStore::reload() const
{
    const FileStamp stamp = currentStamp();
    m_everLoaded = true;
    m_loaded = stamp;
    m_fileState = FileState::writable;
    if (!stamp.exists) {
        m_document = {};
        return;
    }

    QFile file(m_path);
    // Permissions or an I/O error: the file may be sound, so it stays where it is, untouched,
    // and the values this process knows stay in memory until it can be read again.
    if (!file.open(QIODevice::ReadOnly)) {
        m_fileState = FileState::unopenable;
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (file.error() != QFileDevice::NoError) {
        m_fileState = FileState::unopenable;
        return;
    }
    m_document = {};
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        m_fileState = FileState::undecodable;
        return;
    }
    m_document = document.object();
}

void JsonPreferencesStore::moveUndecodableFileAside()
{
    // Keep what the user had: a damaged file may still hold settings worth recovering by hand.
    const QString stamp = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    QString aside = m_path + u".unreadable-"_s + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + u".unreadable-"_s + stamp + u'-' + QString::number(n);
    if (QFile::rename(m_path, aside))
        m_fileState = FileState::writable;
}

bool JsonPreferencesStore::write()
{
    if (m_fileState == FileState::undecodable)
        moveUndecodableFileAside();
    if (m_fileState != FileState::writable)
        return false; // never overwrite a file we could not read

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(m_document).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return false;
    m_loaded = currentStamp();
    return true;
}
