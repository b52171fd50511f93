#pragma once

#include "platform/TaggedText.h"

#include <QStringList>

// Finds each text's language, and the lexical class and lemma of every word the word tokenizer
// reports in it. It may take a while and may run helper processes: call it off the main thread.
// Safe to use from several threads at once.
class LanguageTagger
{
public:
    virtual ~LanguageTagger() = default;

    // Names the tagger and its data; tags kept from another version are stale.
    virtual QString version() const = 0;
    // One result per text, in order.
    virtual QList<TaggedText> tag(const QStringList& texts) = 0;
};
