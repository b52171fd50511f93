#pragma once

#include "platform/TaggedText.h"
#include "stats/WordCount.h"

#include <QSet>

// How rich and how varied the words of a list of texts are.
struct LinguisticProfile
{
    qint64 uniqueWords = 0; // distinct lower-cased lemmas of nouns, verbs, adjectives, adverbs
    qint64 nouns = 0;
    qint64 verbs = 0;
    qint64 adjectives = 0;
    qint64 other = 0;          // adverbs and every other class
    QList<WordCount> topWords; // at most 14 content lemmas, most frequent first

    bool operator==(const LinguisticProfile&) const = default;
};

// Lemmas that say more about the user's job than about their vocabulary; they still count as
// words but are never top words.
const QSet<QString>& excludedTopWords();

LinguisticProfile buildLinguisticProfile(const QList<TaggedText>& texts);
