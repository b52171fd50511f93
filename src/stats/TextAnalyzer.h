#pragma once

#include "stats/StatsControl.h"
#include "stats/TagCacheFile.h"
#include "stats/TextAnalysis.h"

#include <QMutex>
#include <QStringList>

#include <optional>

class LanguageTagger;
class WordTokenizer;

// Counts and tags texts, remembering every answer in memory and in a cache file so that a text
// is tagged once: recomputing after a new record tags that record only, and a restart tags
// nothing already seen. Safe to use from several threads at once.
class TextAnalyzer
{
public:
    // An empty `cachePath` keeps the cache in memory only.
    TextAnalyzer(const WordTokenizer& tokenizer, LanguageTagger& tagger, const QString& cachePath);

    // The analysis of each of `texts`, tagging in batches those never seen; none when stopped.
    std::optional<TextAnalyses> analyse(const QStringList& texts, const StatsControl& control);
    qint64 countWords(const QString& text) const;
    // The fillers of each raw transcript, remembered in memory (counting them is cheap enough
    // to redo after a restart).
    FillerCounts countFillers(const QStringList& raws);

private:
    QStringList lookUp(const QStringList& texts, TextAnalyses& found);
    // Tags `missing` into `made`, batch by batch; false when stopped before the end.
    bool tagMissing(const QStringList& missing, const StatsControl& control, TextAnalyses& made);
    void remember(const TextAnalyses& made);

    const WordTokenizer& m_tokenizer;
    LanguageTagger& m_tagger;
    QMutex m_mutex;
    bool m_loaded = false;
    std::optional<TagCacheFile> m_file;
    TagCacheFile::Entries m_stored; // by text hash: what the file holds
    TextAnalyses m_byText;          // by text: what this run has looked up or made
    FillerCounts m_fillers;
};
