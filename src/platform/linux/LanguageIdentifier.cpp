#include "platform/linux/LanguageIdentifier.h"

// CLD2's header uses FILE without including its declaration.
#include <cstdio>

#include <cld2/public/compact_lang_det.h>
#include <constants.h>
#include <fingerprint.h>

#include <memory>

namespace {
// The languages the tagger knows; exttextcat chooses among these only.
const char* const taggedLanguages[] = {"en", "ru"};
// Below this many letters a text is too short for n-gram statistics.
constexpr qsizetype minFingerprintLetters = 16;

struct LetterCount
{
    qsizetype cyrillic = 0;
    qsizetype latin = 0;
};

LetterCount countLetters(const QString& text)
{
    LetterCount count;
    for (QChar c : text) {
        if (!c.isLetter())
            continue;
        if (c.script() == QChar::Script_Cyrillic)
            ++count.cyrillic;
        else if (c.script() == QChar::Script_Latin)
            ++count.latin;
    }
    return count;
}

QString byCld2(const QByteArray& utf8)
{
    CLD2::Language top3[3];
    int percent3[3];
    int textBytes = 0;
    bool reliable = false;
    const CLD2::Language language = CLD2::ExtDetectLanguageSummary(
        utf8.constData(), int(utf8.size()), true, top3, percent3, &textBytes, &reliable);
    if (!reliable || language == CLD2::UNKNOWN_LANGUAGE)
        return {};
    return QString::fromLatin1(CLD2::LanguageCode(language));
}
} // namespace

struct LanguageIdentifier::Fingerprint
{
    QString language;
    void* handle = nullptr;

    ~Fingerprint() { fp_Done(handle); }
};

LanguageIdentifier::LanguageIdentifier(const QString& fingerprintFolder)
{
    for (const char* language : taggedLanguages) {
        auto fingerprint = std::make_unique<Fingerprint>();
        fingerprint->language = QString::fromLatin1(language);
        fingerprint->handle = fp_Init(language);
        const QByteArray path =
            (fingerprintFolder + QLatin1Char('/') + fingerprint->language + QStringLiteral(".lm"))
                .toLocal8Bit();
        if (fingerprint->handle)
            fp_SetProperty(fingerprint->handle, TCPROP_UTF8AWARE, TC_TRUE);
        if (fingerprint->handle && fp_Read(fingerprint->handle, path.constData(), MAXNGRAMS))
            m_fingerprints.append(fingerprint.release());
    }
}

LanguageIdentifier::~LanguageIdentifier()
{
    qDeleteAll(m_fingerprints);
}

QString LanguageIdentifier::identify(const QString& text) const
{
    const LetterCount letters = countLetters(text);
    if (letters.cyrillic == 0 && letters.latin == 0)
        return {};
    const QByteArray utf8 = text.toUtf8();
    if (const QString language = byCld2(utf8); !language.isEmpty())
        return language;
    if (letters.cyrillic + letters.latin >= minFingerprintLetters) {
        if (const QString language = byFingerprint(utf8); !language.isEmpty())
            return language;
    }
    return letters.cyrillic > letters.latin ? QStringLiteral("ru") : QStringLiteral("en");
}

QString LanguageIdentifier::byFingerprint(const QByteArray& utf8) const
{
    const std::unique_ptr<void, void (*)(void*)> unknown(fp_Init(nullptr), fp_Done);
    if (!unknown)
        return {};
    fp_SetProperty(unknown.get(), TCPROP_UTF8AWARE, TC_TRUE);
    if (!fp_Create(unknown.get(), utf8.constData(), uint4(utf8.size()), MAXNGRAMS))
        return {};
    QString best;
    sint4 bestDistance = MAXSCORE;
    for (const Fingerprint* fingerprint : m_fingerprints) {
        const sint4 distance = fp_Compare(fingerprint->handle, unknown.get(), bestDistance);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = fingerprint->language;
        }
    }
    return best;
}
