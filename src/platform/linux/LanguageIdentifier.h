#pragma once

#include <QList>
#include <QString>

// The language of a text, as an ISO 639-1 code ("en", "ru", "de", ...), or empty when it has no
// letters to tell. CLD2 answers when it is sure of itself; otherwise the n-gram fingerprints of
// exttextcat choose between the languages the tagger knows; very short texts are judged by
// whether they hold more Cyrillic or more Latin letters (CLD2 alone calls many short Russian
// texts English). Safe to use from any thread.
class LanguageIdentifier
{
public:
    // `fingerprintFolder` holds exttextcat's en.lm and ru.lm.
    explicit LanguageIdentifier(const QString& fingerprintFolder);
    ~LanguageIdentifier();
    LanguageIdentifier(const LanguageIdentifier&) = delete;
    LanguageIdentifier& operator=(const LanguageIdentifier&) = delete;

    QString identify(const QString& text) const;

private:
    QString byFingerprint(const QByteArray& utf8) const;

    struct Fingerprint;
    QList<Fingerprint*> m_fingerprints;
};
