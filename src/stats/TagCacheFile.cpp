#include "stats/TagCacheFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace {
constexpr QByteArrayView magic("MURMOTAG");
constexpr quint32 formatVersion = 1;
constexpr auto streamVersion = QDataStream::Qt_6_4;
constexpr auto checksumAlgorithm = QCryptographicHash::Sha1;
constexpr quint8 lastClass = quint8(LexicalClass::other);

QByteArray checksum(QByteArrayView payload)
{
    return QCryptographicHash::hash(payload, checksumAlgorithm);
}

QByteArray encodeChunk(const TagCacheFile::Entries& entries)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << quint32(entries.size());
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const TextAnalysis& analysis = *it.value();
        out << it.key() << qint64(analysis.wordCount) << quint32(analysis.tags.words.size());
        for (const TaggedWord& word : analysis.tags.words) {
            out << qint64(word.start) << qint64(word.length) << quint8(word.lexicalClass)
                << word.lemma;
        }
    }
    QByteArray chunk;
    QDataStream framed(&chunk, QIODevice::WriteOnly);
    framed.setVersion(streamVersion);
    framed << quint32(payload.size());
    framed.writeRawData(payload.constData(), int(payload.size()));
    const QByteArray sum = checksum(payload);
    framed.writeRawData(sum.constData(), int(sum.size()));
    return chunk;
}

// Reads one chunk's entries into `entries`; false when the chunk is not sound.
bool decodeChunk(const QByteArray& payload, TagCacheFile::Entries& entries, QSet<QString>& lemmas)
{
    QDataStream in(payload);
    in.setVersion(streamVersion);
    quint32 count = 0;
    in >> count;
    TagCacheFile::Entries chunk;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QByteArray key;
        qint64 wordCount = 0;
        quint32 tagged = 0;
        in >> key >> wordCount >> tagged;
        auto analysis = std::make_shared<TextAnalysis>();
        analysis->wordCount = wordCount;
        for (quint32 w = 0; w < tagged && in.status() == QDataStream::Ok; ++w) {
            qint64 start = 0;
            qint64 length = 0;
            quint8 lexicalClass = 0;
            QString lemma;
            in >> start >> length >> lexicalClass >> lemma;
            if (lexicalClass > lastClass)
                return false;
            // Many texts share lemmas: keep one copy of each.
            analysis->tags.words.append(
                {start, length, LexicalClass(lexicalClass), *lemmas.insert(lemma)});
        }
        chunk.insert(key, std::move(analysis));
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return false;
    entries.insert(chunk);
    return true;
}
} // namespace

TagCacheFile::TagCacheFile(QString path, QString taggerVersion)
    : m_path(std::move(path))
    , m_taggerVersion(std::move(taggerVersion))
{}

QByteArray TagCacheFile::keyOf(const QString& text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1);
}

TagCacheFile::Entries TagCacheFile::load()
{
    m_sound = false;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QDataStream in(bytes);
    in.setVersion(streamVersion);

    QByteArray fileMagic(magic.size(), Qt::Uninitialized);
    in.readRawData(fileMagic.data(), int(fileMagic.size()));
    quint32 version = 0;
    QString taggerVersion;
    in >> version >> taggerVersion;
    if (in.status() != QDataStream::Ok || fileMagic != magic || version != formatVersion ||
        taggerVersion != m_taggerVersion)
        return {};

    Entries entries;
    QSet<QString> lemmas;
    while (!in.atEnd()) {
        quint32 size = 0;
        in >> size;
        const qsizetype checksumSize = QCryptographicHash::hashLength(checksumAlgorithm);
        const qsizetype offset = in.device()->pos();
        if (in.status() != QDataStream::Ok || size > bytes.size() - offset - checksumSize)
            return entries;
        const QByteArray payload = bytes.sliced(offset, size);
        if (bytes.sliced(offset + size, checksumSize) != checksum(payload) ||
            !decodeChunk(payload, entries, lemmas))
            return entries;
        in.skipRawData(int(size + checksumSize));
    }
    m_sound = true;
    return entries;
}

void TagCacheFile::save(const Entries& added, const Entries& all)
{
    if (m_sound && added.isEmpty())
        return;
    m_sound = m_sound ? append(added) : rewrite(all);
}

bool TagCacheFile::rewrite(const Entries& all)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setVersion(streamVersion);
    out.writeRawData(magic.data(), int(magic.size()));
    out << formatVersion << m_taggerVersion;
    const QByteArray chunk = encodeChunk(all);
    out.writeRawData(chunk.constData(), int(chunk.size()));
    return out.status() == QDataStream::Ok && file.commit();
}

bool TagCacheFile::append(const Entries& added)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly))
        return false;
    const QByteArray chunk = encodeChunk(added);
    return file.write(chunk) == chunk.size() && file.flush();
}
