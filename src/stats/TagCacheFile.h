#pragma once

#include "stats/TextAnalysis.h"

#include <QByteArray>
#include <QString>

// Text analyses kept on disk between runs, keyed by a hash of the text so that the file never
// holds what the user dictated. New analyses are appended as checksummed chunks; a file from
// another tagger version, or damaged anywhere, is read as far as it is sound and rewritten whole
// at the next save.
class TagCacheFile
{
public:
    using Entries = QHash<QByteArray, std::shared_ptr<const TextAnalysis>>;

    TagCacheFile(QString path, QString taggerVersion);

    static QByteArray keyOf(const QString& text);

    // Everything sound in the file; an absent file is empty.
    Entries load();
    // Appends `added`; rewrites the file with `all` instead when it is not sound. Failures are
    // silent: the cache only saves work.
    void save(const Entries& added, const Entries& all);

private:
    bool rewrite(const Entries& all);
    bool append(const Entries& added);

    QString m_path;
    QString m_taggerVersion;
    bool m_sound = false;
};
