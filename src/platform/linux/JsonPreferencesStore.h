#pragma once

#include "platform/PreferencesStore.h"

#include <QDateTime>
#include <QJsonObject>

// Preferences kept as one JSON object in a file. Values keep their JSON type; the file is
// re-read when someone else changed it, and every write replaces it atomically. A lock file
// keeps two processes from interleaving their reload and write, so neither loses the other's
// change.
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

    // What stands at the file's path, as far as writing it is concerned.
    enum class FileState
    {
        writable,    // absent, or read
        undecodable, // moved aside, bytes kept, before the next write
        unopenable,  // never overwritten while it cannot be read
    };

    FileStamp currentStamp() const;
    void reloadIfChanged() const;
    void reload() const;
    void moveUndecodableFileAside();
    bool write();

    QString m_path;
    mutable QJsonObject m_document;
    QJsonObject m_pending;
    mutable FileStamp m_loaded;
    mutable FileState m_fileState = FileState::writable;
    mutable bool m_everLoaded = false;
};
