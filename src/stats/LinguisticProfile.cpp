#include "stats/LinguisticProfile.h"

#include "text/Graphemes.h"

#include <QHash>

#include <algorithm>

namespace {
constexpr qsizetype maxTopWords = 14;

bool isContent(LexicalClass lexicalClass)
{
    return lexicalClass != LexicalClass::other;
}

void countClass(LinguisticProfile& profile, LexicalClass lexicalClass)
{
    switch (lexicalClass) {
    case LexicalClass::noun:
        ++profile.nouns;
        return;
    case LexicalClass::verb:
        ++profile.verbs;
        return;
    case LexicalClass::adjective:
        ++profile.adjectives;
        return;
    case LexicalClass::adverb:
    case LexicalClass::other:
        ++profile.other;
        return;
    }
}

// Unicode scalar values of the canonically composed form: what "alphabetical" means for ties.
QList<uint> scalarKey(const QString& word)
{
    return word.normalized(QString::NormalizationForm_C).toUcs4();
}

QList<WordCount> topWords(const QHash<QString, qint64>& lemmaCounts)
{
    QList<WordCount> words;
    for (auto it = lemmaCounts.begin(); it != lemmaCounts.end(); ++it) {
        // One-letter lemmas (initials, stray letters) say nothing about vocabulary.
        if (it.value() > 0 && Graphemes::count(it.key()) >= 2 &&
            !excludedTopWords().contains(it.key()))
            words.append({it.key(), it.value()});
    }
    const auto byCount = [](const WordCount& a, const WordCount& b) { return a.count > b.count; };
    std::sort(words.begin(), words.end(), byCount);
    // Only the words that can still make the list need the costlier alphabetical tie-break.
    if (words.size() > maxTopWords) {
        const WordCount& last = words[maxTopWords - 1];
        words.erase(std::upper_bound(words.begin(), words.end(), last, byCount), words.end());
    }
    QList<std::pair<QList<uint>, WordCount>> keyed;
    for (const WordCount& word : words)
        keyed.append({scalarKey(word.word), word});
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.second.count != b.second.count ? a.second.count > b.second.count
                                                : a.first < b.first;
    });
    QList<WordCount> top;
    for (qsizetype i = 0; i < std::min(maxTopWords, keyed.size()); ++i)
        top.append(keyed[i].second);
    return top;
}
} // namespace

const QSet<QString>& excludedTopWords()
{
    static const QSet<QString> words{
        QStringLiteral("ошибка"), QStringLiteral("ошибки"),  QStringLiteral("ошибку"),
        QStringLiteral("ошибке"), QStringLiteral("ошибкой"), QStringLiteral("error"),
        QStringLiteral("errors"), QStringLiteral("тест"),    QStringLiteral("тесты"),
        QStringLiteral("test"),   QStringLiteral("testing"), QStringLiteral("баг"),
        QStringLiteral("bug"),
    };
    return words;
}

LinguisticProfile buildLinguisticProfile(const QList<TaggedText>& texts)
{
    LinguisticProfile profile;
    // Every content lemma, with how often it occurred other than as an adverb (adverbs count as
    // distinct words but never as top words).
    QHash<QString, qint64> lemmaCounts;
    for (const TaggedText& text : texts) {
        for (const TaggedWord& word : text.words) {
            countClass(profile, word.lexicalClass);
            if (!isContent(word.lexicalClass))
                continue;
            qint64& count = lemmaCounts[word.lemma.toLower()];
            if (word.lexicalClass != LexicalClass::adverb)
                ++count;
        }
    }
    profile.uniqueWords = lemmaCounts.size();
    profile.topWords = topWords(lemmaCounts);
    return profile;
}
