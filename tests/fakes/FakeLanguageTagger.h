#pragma once

#include "platform/LanguageTagger.h"
#include "platform/WordTokenizer.h"

#include <QHash>

#include <functional>

// Tags the tokenizer's words from a small lexicon (lower-cased word → class and lemma); words
// it does not know are nouns with themselves as lemma. Records every text it was asked to tag.
class FakeLanguageTagger final : public LanguageTagger
{
public:
    explicit FakeLanguageTagger(const WordTokenizer& tokenizer)
        : m_tokenizer(tokenizer)
    {}

    void define(const QString& word, LexicalClass lexicalClass, const QString& lemma)
    {
        m_lexicon.insert(word, {0, 0, lexicalClass, lemma});
    }

    QString version() const override { return versionName; }

    QList<TaggedText> tag(const QStringList& texts) override
    {
        QList<TaggedText> tagged;
        for (const QString& text : texts) {
            taggedTexts.append(text);
            TaggedText result;
            result.provisional = provisional;
            for (const TextSpan& span : m_tokenizer.words(text)) {
                const QString word = text.mid(span.start, span.length);
                TaggedWord tag = m_lexicon.value(word.toLower(), {0, 0, LexicalClass::noun, word});
                tag.start = span.start;
                tag.length = span.length;
                result.words.append(tag);
            }
            tagged.append(result);
        }
        if (afterBatch)
            afterBatch();
        return tagged;
    }

    QString versionName = QStringLiteral("fake 1");
    bool provisional = false;
    QStringList taggedTexts;
    std::function<void()> afterBatch;

private:
    const WordTokenizer& m_tokenizer;
    QHash<QString, TaggedWord> m_lexicon;
};
