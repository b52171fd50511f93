#pragma once

#include "platform/TaggedText.h"
#include "platform/WordTokenizer.h"
#include "platform/linux/ChildPipeline.h"

#include <memory>
#include <vector>

// English lexical classes and lemmas from Apertium's English analyser, constraint grammar and
// statistical tagger (the data of Debian's apertium-eng-cat), run as one persistent pipeline of
// child processes: the programs are GPL, so they are run, never linked. The statistical tagger
// is the slow part, so one pipeline runs per processor core and a batch is shared among them.
// Their analyses are laid back onto the word tokenizer's words, so that both always count the
// same words.
class ApertiumEnglishTagger
{
public:
    // `dataFolder` holds eng-cat.automorf.bin, eng-cat.rlx.bin and eng-cat.prob.
    explicit ApertiumEnglishTagger(const QString& dataFolder);

    // One result per text; `words` are each text's words from the word tokenizer. Texts the
    // pipeline cannot answer even after a restart come back provisional, every word a noun.
    QList<TaggedText> tag(const QStringList& texts, const QList<QList<TextSpan>>& words);

    // The running helper processes, pipeline by pipeline.
    QList<pid_t> processIds() const;

private:
    QList<TaggedText> tagShare(ChildPipeline& pipeline, const QStringList& texts,
                               const QList<QList<TextSpan>>& words);
    // Gives the listed words of `tagged` their analyses as single words.
    void analyseAlone(ChildPipeline& pipeline, const QStringList& texts,
                      const QList<QList<qsizetype>>& alone, QList<TaggedText>& tagged);

    std::vector<std::unique_ptr<ChildPipeline>> m_pipelines;
};
