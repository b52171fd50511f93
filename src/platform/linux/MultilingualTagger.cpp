#include "platform/linux/MultilingualTagger.h"

#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTagging, "murmo.tagging")

namespace {
// Raise when the way tags are made changes, so that cached tags are made again.
constexpr int rulesVersion = 1;

bool hasLetter(QStringView word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
}

// Numbers and other letterless words are `other`; words no dictionary knows are nouns, as most
// new words are.
TaggedWord untagged(const QString& text, const TextSpan& span, LexicalClass lettered)
{
    const QString word = text.mid(span.start, span.length);
    return {span.start, span.length, hasLetter(word) ? lettered : LexicalClass::other, word};
}

QString fingerprintOf(const QString& path)
{
    const QFileInfo file(path);
    return QStringLiteral("%1:%2:%3")
        .arg(file.fileName())
        .arg(file.size())
        .arg(file.lastModified().toSecsSinceEpoch());
}
} // namespace

MultilingualTagger::DataFolders MultilingualTagger::installedData()
{
    return {QStringLiteral("/usr/share/apertium/apertium-eng-cat"),
            QStringLiteral(MURMO_RUSSIAN_DICTIONARY_DIR),
            QStringLiteral("/usr/share/libexttextcat")};
}

MultilingualTagger::MultilingualTagger(const DataFolders& folders)
    : m_identifier(folders.fingerprints)
    , m_english(folders.apertium)
    , m_russianLoaded(m_russian.load(folders.russian))
    , m_version(QStringLiteral("%1;%2;%3")
                    .arg(rulesVersion)
                    .arg(fingerprintOf(folders.apertium + QStringLiteral("/eng-cat.prob")),
                         fingerprintOf(folders.russian + QStringLiteral("/words.dawg"))))
{
    // Russian words are then counted but not tagged: say so, or a broken install goes unseen.
    if (!m_russianLoaded)
        qCWarning(lcTagging).noquote()
            << "The Russian dictionary in" << folders.russian
            << "cannot be read; Russian words are counted but not tagged.";
}

QString MultilingualTagger::version() const
{
    return m_version;
}

QList<TaggedText> MultilingualTagger::tag(const QStringList& texts)
{
    QList<TaggedText> tagged(texts.size());
    QStringList english;
    QList<QList<TextSpan>> englishWords;
    QList<qsizetype> englishAt;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QList<TextSpan> words = m_tokenizer.words(texts[i]);
        const QString language = m_identifier.identify(texts[i]);
        if (language == QLatin1String("en")) {
            english.append(texts[i]);
            englishWords.append(words);
            englishAt.append(i);
        } else if (language == QLatin1String("ru")) {
            tagged[i] = tagRussian(texts[i], words);
        } else {
            for (const TextSpan& span : words)
                tagged[i].words.append(untagged(texts[i], span, LexicalClass::other));
        }
    }
    if (!english.isEmpty()) {
        const QList<TaggedText> answers = m_english.tag(english, englishWords);
        for (qsizetype k = 0; k < answers.size(); ++k)
            tagged[englishAt[k]] = answers[k];
    }
    return tagged;
}

TaggedText MultilingualTagger::tagRussian(const QString& text, const QList<TextSpan>& words) const
{
    TaggedText tagged;
    tagged.provisional = !m_russianLoaded;
    for (const TextSpan& span : words) {
        const std::optional<OpenCorporaDictionary::Reading> reading =
            m_russianLoaded ? m_russian.reading(text.mid(span.start, span.length)) : std::nullopt;
        if (reading)
            tagged.words.append({span.start, span.length, reading->lexicalClass, reading->lemma});
        else
            tagged.words.append(untagged(text, span, LexicalClass::noun));
    }
    return tagged;
}
