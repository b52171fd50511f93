#pragma once

#include "platform/TaggedText.h"
#include "platform/linux/Dawg.h"

#include <QStringList>

#include <optional>

// The Russian morphological dictionary of OpenCorpora as compiled for the `az` package (CC BY-SA):
// word forms in a DAWG in windows-1251, each pointing at a paradigm and a form; paradigms give
// each form's suffix, tag and prefix, and the paradigm's first form is the lemma. How often a
// reading occurred in the OpenCorpora corpus, P(tag | word), picks among a word's readings;
// words it does not know are guessed from their ending. Read-only after load: safe to share.
class OpenCorporaDictionary
{
public:
    struct Reading
    {
        LexicalClass lexicalClass = LexicalClass::other;
        QString lemma;
        QString tag; // OpenCorpora's grammemes, "NOUN,inan,femn sing,nomn"
    };

    bool load(const QString& folder);

    // The most likely reading of a word in any case; none when it is not Russian.
    std::optional<Reading> reading(const QString& word) const;

private:
    struct Candidate
    {
        QByteArray form; // the dictionary's spelling, which may have "ё" for a written "е"
        quint16 paradigm = 0;
        quint16 formIndex = 0;
    };

    QList<Candidate> lookUp(const QByteArray& word) const;
    std::optional<Reading> guess(const QString& word, const QByteArray& encoded) const;
    std::optional<Reading> readingOf(const QString& word, quint16 paradigm,
                                     quint16 formIndex) const;
    double probability(const Candidate& candidate) const;
    QString tagOf(quint16 paradigm, quint16 formIndex) const;

    Dawg m_words;
    Dawg m_probabilities;
    Dawg m_endings;
    QList<QList<quint16>> m_paradigms;
    QStringList m_suffixes;
    QStringList m_prefixes;
    QStringList m_tags;
};
