#pragma once

#include "platform/PreferencesStore.h"

#include <QDateTime>
#include <QJsonObject>

// Preferences kept as one JSON object in a file. Values keep their JSON type; the file is
// re-read when someone else changed it, and every write replaces it atomically.
class JsonPreferencesStore final : public PreferencesStore
{
public:
    explicit JsonPreferencesStore(QString filePath);

    // $XDG_CONFIG_HOME/Murmo/preferences.json
    static QString defaultFilePath();

    std::optional<Value> value(const QString& key) const override;
    void setValue(const QString& key, const Value& value) override;

private:
    struct FileStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };

    FileStamp currentStamp() const;
    void reloadIfChanged() const;
    void moveUnreadableFileAside();
    bool write();

    QString m_path;
    mutable QJsonObject m_document;
    mutable FileStamp m_loaded;
    mutable bool m_unreadable = false;
    mutable bool m_everLoaded = false;
};
