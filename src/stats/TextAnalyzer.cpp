#include "stats/TextAnalyzer.h"

#include "platform/LanguageTagger.h"
#include "platform/WordTokenizer.h"
#include "stats/Fillers.h"

#include <QMutexLocker>
#include <QSet>

namespace {
// Texts per call to the tagger: large enough to keep its helper process busy, small enough for
// steady progress and a prompt stop.
constexpr qsizetype batchSize = 64;
} // namespace

TextAnalyzer::TextAnalyzer(const WordTokenizer& tokenizer, LanguageTagger& tagger,
                           const QString& cachePath)
    : m_tokenizer(tokenizer)
    , m_tagger(tagger)
{
    if (!cachePath.isEmpty())
        m_file.emplace(cachePath, tagger.version());
}

qint64 TextAnalyzer::countWords(const QString& text) const
{
    return text.isEmpty() ? 0 : m_tokenizer.words(text).size();
}

FillerCounts TextAnalyzer::countFillers(const QStringList& raws)
{
    QMutexLocker lock(&m_mutex);
    FillerCounts counts;
    for (const QString& raw : raws) {
        auto known = m_fillers.constFind(raw);
        if (known == m_fillers.constEnd())
            known = m_fillers.insert(raw, ::countFillers(raw));
        counts.insert(raw, known.value());
    }
    return counts;
}

std::optional<TextAnalyses> TextAnalyzer::analyse(const QStringList& texts,
                                                  const StatsControl& control)
{
    TextAnalyses found;
    const QStringList missing = lookUp(texts, found);
    if (missing.isEmpty())
        return found;
    TextAnalyses made;
    const bool complete = tagMissing(missing, control, made);
    // What was tagged before a stop is kept: the next computation goes on from there.
    remember(made);
    if (!complete)
        return std::nullopt;
    found.insert(made);
    return found;
}

QStringList TextAnalyzer::lookUp(const QStringList& texts, TextAnalyses& found)
{
    QMutexLocker lock(&m_mutex);
    if (!m_loaded && m_file)
        m_stored = m_file->load();
    m_loaded = true;

    QStringList missing;
    QSet<QString> seen;
    for (const QString& text : texts) {
        if (found.contains(text) || seen.contains(text))
            continue;
        auto known = m_byText.constFind(text);
        if (known == m_byText.constEnd() && !m_stored.isEmpty()) {
            const auto stored = m_stored.constFind(TagCacheFile::keyOf(text));
            if (stored != m_stored.constEnd())
                known = m_byText.insert(text, stored.value());
        }
        if (known != m_byText.constEnd()) {
            found.insert(text, known.value());
        } else {
            missing.append(text);
            seen.insert(text);
        }
    }
    return missing;
}

bool TextAnalyzer::tagMissing(const QStringList& missing, const StatsControl& control,
                              TextAnalyses& made)
{
    for (qsizetype start = 0; start < missing.size(); start += batchSize) {
        if (control.stop.stop_requested())
            return false;
        const QStringList batch = missing.mid(start, batchSize);
        const QList<TaggedText> tagged = m_tagger.tag(batch);
        for (qsizetype i = 0; i < batch.size(); ++i) {
            made.insert(batch[i], std::make_shared<const TextAnalysis>(TextAnalysis{
                                      countWords(batch[i]), tagged.value(i, {{}, true})}));
        }
        if (control.progress)
            control.progress(start + batch.size(), missing.size());
    }
    return true;
}

void TextAnalyzer::remember(const TextAnalyses& made)
{
    QMutexLocker lock(&m_mutex);
    TagCacheFile::Entries added;
    for (auto it = made.begin(); it != made.end(); ++it) {
        // Provisional tags stand in for this computation only; the text is tagged again next time.
        if (it.value()->tags.provisional)
            continue;
        m_byText.insert(it.key(), it.value());
        added.insert(TagCacheFile::keyOf(it.key()), it.value());
    }
    if (!m_file)
        return;
    m_stored.insert(added);
    m_file->save(added, m_stored);
}
