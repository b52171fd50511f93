#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

// A file attached to a record. Saving reads the file; a fetched record's asset is a temporary
// file that stays in place for as long as a copy of the asset exists.
struct CloudAsset
{
    QString filePath;
    std::shared_ptr<const void> keepFile;
};

// A field of a type this program does not use, kept as the database stored it so that saving
// the record writes it back unchanged.
struct ForeignCloudValue
{
    QByteArray encoded;
};

using CloudValue = std::variant<QString, QDateTime, CloudAsset, ForeignCloudValue>;

// One record of the user's private cloud database: a type, a name unique in the database, and
// named fields.
struct CloudRecord
{
    QString recordType;
    QString recordName;
    QMap<QString, CloudValue> fields;
    // The database's version of the record when it was fetched; none for a record made here,
    // which a save then only creates, never replaces.
    std::optional<QString> changeTag;

    template<class T>
    const T* field(const QString& name) const
    {
        const auto found = fields.constFind(name);
        return found == fields.constEnd() ? nullptr : std::get_if<T>(&*found);
    }
};
