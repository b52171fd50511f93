#pragma once

#include <QList>
#include <QString>

// The word classes the statistics tell apart; pronouns, determiners, prepositions, numbers,
// particles and the like are all `other`.
enum class LexicalClass : quint8
{
    noun,
    verb,
    adjective,
    adverb,
    other
};

// One word of a text: where it stands, its class and its dictionary form (the word itself when
// the tagger knows none).
struct TaggedWord
{
    qsizetype start = 0;
    qsizetype length = 0;
    LexicalClass lexicalClass = LexicalClass::other;
    QString lemma;

    bool operator==(const TaggedWord&) const = default;
};

// The tagged words of one text. A text the tagger could not analyse properly (a crashed helper
// process, missing data) still gets tags, marked provisional so that nobody keeps them for good.
struct TaggedText
{
    QList<TaggedWord> words;
    bool provisional = false;

    bool operator==(const TaggedText&) const = default;
};
