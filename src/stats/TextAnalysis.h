#pragma once

#include "platform/TaggedText.h"
#include "stats/WordCount.h"

#include <QHash>

#include <memory>

// What the statistics need to know about one text: its word count and its tagged words.
struct TextAnalysis
{
    qint64 wordCount = 0;
    TaggedText tags;
};

// Analyses by text. Entries are shared and never change once made, so a snapshot can be read
// on another thread while the cache grows.
using TextAnalyses = QHash<QString, std::shared_ptr<const TextAnalysis>>;

// Filler counts by raw transcript.
using FillerCounts = QHash<QString, QList<WordCount>>;
