#pragma once

#include "platform/TaggedText.h"
#include "platform/WordTokenizer.h"
#include "platform/linux/ChildPipeline.h"

// English lexical classes and lemmas from Apertium's English analyser, constraint grammar and
// statistical tagger (the data of Debian's apertium-eng-cat), run as one persistent pipeline of
// child processes: the programs are GPL, so they are run, never linked. Their analyses are laid
// back onto the word tokenizer's words, so that both always count the same words.
class ApertiumEnglishTagger
{
public:
    // `dataFolder` holds eng-cat.automorf.bin, eng-cat.rlx.bin and eng-cat.prob.
    explicit ApertiumEnglishTagger(const QString& dataFolder);

    // One result per text; `words` are each text's words from the word tokenizer. Texts the
    // pipeline cannot answer even after a restart come back provisional, every word a noun.
    QList<TaggedText> tag(const QStringList& texts, const QList<QList<TextSpan>>& words);

    QList<pid_t> processIds() const { return m_pipeline.processIds(); }

private:
    ChildPipeline m_pipeline;
};
