#pragma once

#include "platform/LanguageTagger.h"
#include "platform/linux/ApertiumEnglishTagger.h"
#include "platform/linux/IcuWordTokenizer.h"
#include "platform/linux/LanguageIdentifier.h"
#include "platform/linux/OpenCorporaDictionary.h"

// The Linux tagger: each text's language is identified, English goes to Apertium, Russian to
// the OpenCorpora dictionary, and every other language is tagged `other` with each word as its
// own lemma. Words are always the ICU word tokenizer's, so tag counts and word counts agree.
class MultilingualTagger final : public LanguageTagger
{
public:
    struct DataFolders
    {
        QString apertium;     // apertium-eng-cat's data
        QString russian;      // the OpenCorpora dictionary files of `az`
        QString fingerprints; // exttextcat's language fingerprints
    };

    // The installed data, with the Russian dictionary where the build put it.
    static DataFolders installedData();

    explicit MultilingualTagger(const DataFolders& folders = installedData());

    QString version() const override;
    QList<TaggedText> tag(const QStringList& texts) override;

    QString languageOf(const QString& text) const { return m_identifier.identify(text); }
    QList<pid_t> apertiumProcessIds() const { return m_english.processIds(); }

private:
    TaggedText tagRussian(const QString& text, const QList<TextSpan>& words) const;

    IcuWordTokenizer m_tokenizer;
    LanguageIdentifier m_identifier;
    ApertiumEnglishTagger m_english;
    OpenCorporaDictionary m_russian;
    bool m_russianLoaded = false;
    QString m_version;
};
