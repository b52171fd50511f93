#include "platform/linux/ApertiumEnglishTagger.h"

#include <QHash>
#include <QThread>

#include <algorithm>
#include <thread>

using namespace std::chrono_literals;

namespace {
// Characters with a meaning in Apertium's stream format; a backslash makes them plain text.
constexpr QStringView reserved = u"\\^$/<>@[]{}#+*~|";
// A pipeline that neither reads nor writes for this long is taken to be hung.
constexpr auto stallLimit = 30s;
// The statistical tagger keeps a core busy; more pipelines than this only cost memory.
constexpr int maxPipelines = 4;

// One lexical unit of the tagger's answer: where its surface form stands in the text, and the
// analysis it chose.
struct Unit
{
    qsizetype start = 0;
    qsizetype end = 0;
    LexicalClass lexicalClass = LexicalClass::noun;
    QStringList lemmaWords;  // the lemma's words; a multiword's particle ("pick# up") last
    qsizetype headWords = 1; // how many of them belong to the head, before "#"
    bool properNoun = false;
};

QByteArray escape(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (QChar c : text) {
        if (c == QChar::Null) {
            escaped += QLatin1Char(' '); // the null ends a request
            continue;
        }
        if (reserved.contains(c))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    // A final full stop right before the null is lost by the analyser unless a blank follows.
    escaped += QLatin1Char(' ');
    return escaped.toUtf8();
}

QString unescape(QStringView text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

// Position of the first `wanted` at or after `from` that no backslash escapes; -1 if none.
qsizetype findUnescaped(QStringView text, QChar wanted, qsizetype from = 0)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\'))
            ++i;
        else if (text[i] == wanted)
            return i;
    }
    return -1;
}

LexicalClass classOfTag(QStringView tag)
{
    static const QHash<QString, LexicalClass> classes{
        {QStringLiteral("n"), LexicalClass::noun},
        {QStringLiteral("np"), LexicalClass::noun},
        {QStringLiteral("vblex"), LexicalClass::verb},
        {QStringLiteral("vbser"), LexicalClass::verb},
        {QStringLiteral("vbhaver"), LexicalClass::verb},
        {QStringLiteral("vbmod"), LexicalClass::verb},
        {QStringLiteral("vbdo"), LexicalClass::verb},
        {QStringLiteral("vaux"), LexicalClass::verb},
        {QStringLiteral("adj"), LexicalClass::adjective},
        {QStringLiteral("adv"), LexicalClass::adverb},
        {QStringLiteral("preadv"), LexicalClass::adverb},
    };
    return classes.value(tag.toString(), LexicalClass::other);
}

// The analyser writes personal pronouns with a placeholder lemma; their person and number say
// which pronoun it is.
QString personalPronoun(const QStringList& tags)
{
    if (tags.contains(QStringLiteral("p1")))
        return tags.contains(QStringLiteral("pl")) ? QStringLiteral("we") : QStringLiteral("i");
    if (tags.contains(QStringLiteral("p2")))
        return QStringLiteral("you");
    if (tags.contains(QStringLiteral("sg"))) {
        if (tags.contains(QStringLiteral("m")))
            return QStringLiteral("he");
        if (tags.contains(QStringLiteral("f")))
            return QStringLiteral("she");
        if (tags.contains(QStringLiteral("nt")))
            return QStringLiteral("it");
    }
    return QStringLiteral("they");
}

// Reads "lemma<tag><tag>...", "head# queue<tag>..." or "*unknown"; a joined second analysis
// after "+" (the "not" of "didn't") is ignored.
void readAnalysis(QStringView analysis, const QString& surface, Unit& unit)
{
    if (analysis.startsWith(QLatin1Char('*'))) {
        unit.lemmaWords = {surface};
        return; // unknown words count as nouns
    }
    const qsizetype plus = findUnescaped(analysis, QLatin1Char('+'));
    const QStringView first = plus < 0 ? analysis : analysis.first(plus);
    QString lemma;
    QStringList tags;
    for (qsizetype i = 0; i < first.size(); ++i) {
        if (first[i] == QLatin1Char('<')) {
            const qsizetype close = first.indexOf(QLatin1Char('>'), i);
            tags << first.mid(i + 1, close < 0 ? -1 : close - i - 1).toString();
            i = close < 0 ? first.size() : close;
        } else {
            if (first[i] == QLatin1Char('\\') && i + 1 < first.size())
                ++i;
            lemma += first[i];
        }
    }
    unit.lexicalClass = tags.isEmpty() ? LexicalClass::noun : classOfTag(tags.first());
    unit.properNoun = !tags.isEmpty() && tags.first() == QLatin1String("np");
    if (lemma.compare(QLatin1String("prpers"), Qt::CaseInsensitive) == 0)
        lemma = personalPronoun(tags);
    else if (!unit.properNoun)
        lemma = lemma.toLower(); // the analyser copies the surface's capitals onto the lemma
    const qsizetype hash = lemma.indexOf(QLatin1Char('#'));
    const QString head = (hash < 0 ? lemma : lemma.first(hash)).simplified();
    unit.lemmaWords = head.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    unit.headWords = unit.lemmaWords.size();
    if (hash >= 0)
        unit.lemmaWords +=
            lemma.sliced(hash + 1).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (unit.lemmaWords.isEmpty())
        unit.lemmaWords = {surface};
}

// The units of one answer, placed on the text by finding each surface form after the last.
QList<Unit> readUnits(QStringView answer, const QString& text)
{
    QList<Unit> units;
    qsizetype cursor = 0;
    for (qsizetype i = 0; i < answer.size(); ++i) {
        if (answer[i] == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (answer[i] != QLatin1Char('^'))
            continue;
        const qsizetype end = findUnescaped(answer, QLatin1Char('$'), i + 1);
        const QStringView content = answer.sliced(i + 1, (end < 0 ? answer.size() : end) - i - 1);
        i = end < 0 ? answer.size() : end;
        const qsizetype slash = findUnescaped(content, QLatin1Char('/'));
        if (slash < 0)
            continue;
        const QString surface = unescape(content.first(slash));
        const qsizetype at = text.indexOf(surface, cursor);
        if (surface.isEmpty() || at < 0)
            continue;
        Unit unit;
        unit.start = at;
        unit.end = at + surface.size();
        readAnalysis(content.sliced(slash + 1), surface, unit);
        units.append(unit);
        cursor = unit.end;
    }
    return units;
}

TaggedWord unknownWord(const QString& text, const TextSpan& span)
{
    return {span.start, span.length, LexicalClass::noun, text.mid(span.start, span.length)};
}

// Lays the units onto the tokenizer's words: each word takes the unit it starts in. A unit of
// several words ("New York", "picked up") gives each word its lemma word when the counts
// match, the particle after "#" counting as `other`; otherwise the first word takes the lemma.
// The words of a multiword expression that is neither a name nor a phrasal verb ("next week"
// is one adverb to the analyser) are listed in `alone`, to be analysed one by one.
QList<TaggedWord> layOnWords(const QList<Unit>& units, const QString& text,
                             const QList<TextSpan>& words, QList<qsizetype>& alone)
{
    QList<TaggedWord> tagged;
    qsizetype u = 0;
    for (qsizetype w = 0; w < words.size(); ++w) {
        const TextSpan& span = words[w];
        while (u < units.size() && units[u].end <= span.start)
            ++u;
        if (u == units.size() || units[u].start > span.start) {
            tagged.append(unknownWord(text, span));
            continue;
        }
        const Unit& unit = units[u];
        qsizetype inUnit = 0;
        while (w + inUnit + 1 < words.size() && words[w + inUnit + 1].start < unit.end)
            ++inUnit;
        const bool oneEach = inUnit + 1 == unit.lemmaWords.size();
        const bool expression =
            inUnit > 0 && !unit.properNoun && unit.headWords == unit.lemmaWords.size();
        for (qsizetype k = 0; k <= inUnit; ++k) {
            if (expression)
                alone.append(tagged.size());
            const TextSpan& part = words[w + k];
            const bool particle = oneEach && k >= unit.headWords;
            QString lemma = oneEach  ? unit.lemmaWords[k]
                            : k == 0 ? unit.lemmaWords.first()
                                     : text.mid(part.start, part.length);
            tagged.append({part.start, part.length,
                           particle ? LexicalClass::other : unit.lexicalClass, lemma});
        }
        w += inUnit;
        ++u;
    }
    return tagged;
}
} // namespace

ApertiumEnglishTagger::ApertiumEnglishTagger(const QString& dataFolder)
{
    const QList<ChildPipeline::Stage> stages{{QStringLiteral("lt-proc"), QStringLiteral("-wz"),
                                              dataFolder + QStringLiteral("/eng-cat.automorf.bin")},
                                             {QStringLiteral("cg-proc"), QStringLiteral("-wz"),
                                              dataFolder + QStringLiteral("/eng-cat.rlx.bin")},
                                             {QStringLiteral("apertium-tagger"),
                                              QStringLiteral("-gxz"), QStringLiteral("-p"),
                                              dataFolder + QStringLiteral("/eng-cat.prob")}};
    const int count = std::clamp(QThread::idealThreadCount(), 1, maxPipelines);
    for (int i = 0; i < count; ++i)
        m_pipelines.push_back(std::make_unique<ChildPipeline>(stages, stallLimit));
}

QList<pid_t> ApertiumEnglishTagger::processIds() const
{
    QList<pid_t> ids;
    for (const auto& pipeline : m_pipelines)
        ids += pipeline->processIds();
    return ids;
}

QList<TaggedText> ApertiumEnglishTagger::tag(const QStringList& texts,
                                             const QList<QList<TextSpan>>& words)
{
    // Contiguous shares, one per pipeline, tagged at the same time; the first on this thread.
    const qsizetype pipelines = qsizetype(m_pipelines.size());
    const qsizetype share = std::max<qsizetype>(1, (texts.size() + pipelines - 1) / pipelines);
    std::vector<QList<TaggedText>> results(m_pipelines.size());
    const auto tagPart = [&](qsizetype p) {
        results[p] =
            tagShare(*m_pipelines[p], texts.mid(p * share, share), words.mid(p * share, share));
    };
    std::vector<std::thread> helpers;
    for (qsizetype p = 1; p < pipelines && p * share < texts.size(); ++p)
        helpers.emplace_back(tagPart, p);
    tagPart(0);
    for (std::thread& helper : helpers)
        helper.join();
    QList<TaggedText> tagged;
    for (const QList<TaggedText>& part : results)
        tagged += part;
    return tagged;
}

QList<TaggedText> ApertiumEnglishTagger::tagShare(ChildPipeline& pipeline, const QStringList& texts,
                                                  const QList<QList<TextSpan>>& words)
{
    QList<TaggedText> tagged;
    QList<QList<qsizetype>> alone(texts.size());
    std::optional<QList<QByteArray>> answers = pipeline.exchange([&] {
        QList<QByteArray> requests;
        for (const QString& text : texts)
            requests.append(escape(text));
        return requests;
    }());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        // A batch the pipeline fails twice is retried text by text, so that one text that
        // breaks the pipeline costs only its own tags.
        std::optional<QByteArray> answer;
        if (answers)
            answer = answers->value(i);
        else if (auto single = pipeline.exchange({escape(texts[i])}))
            answer = single->value(0);
        TaggedText text;
        if (answer) {
            text.words = layOnWords(readUnits(QString::fromUtf8(*answer), texts[i]), texts[i],
                                    words[i], alone[i]);
        } else {
            text.provisional = true;
            for (const TextSpan& span : words[i])
                text.words.append(unknownWord(texts[i], span));
        }
        tagged.append(text);
    }
    analyseAlone(pipeline, texts, alone, tagged);
    return tagged;
}

void ApertiumEnglishTagger::analyseAlone(ChildPipeline& pipeline, const QStringList& texts,
                                         const QList<QList<qsizetype>>& alone,
                                         QList<TaggedText>& tagged)
{
    QStringList surfaces;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        for (qsizetype w : alone[i]) {
            const TaggedWord& word = tagged[i].words[w];
            surfaces.append(texts[i].mid(word.start, word.length));
        }
    }
    surfaces.removeDuplicates();
    if (surfaces.isEmpty())
        return;
    QList<QByteArray> requests;
    for (const QString& surface : surfaces)
        requests.append(escape(surface));
    const std::optional<QList<QByteArray>> answers = pipeline.exchange(requests);
    if (!answers)
        return; // the expression's own tags stand
    QHash<QString, Unit> analyses;
    for (qsizetype k = 0; k < surfaces.size(); ++k) {
        const QList<Unit> units = readUnits(QString::fromUtf8(answers->value(k)), surfaces[k]);
        if (units.size() == 1)
            analyses.insert(surfaces[k], units.first());
    }
    for (qsizetype i = 0; i < texts.size(); ++i) {
        for (qsizetype w : alone[i]) {
            TaggedWord& word = tagged[i].words[w];
            const auto analysis = analyses.constFind(texts[i].mid(word.start, word.length));
            if (analysis == analyses.constEnd())
                continue;
            word.lexicalClass = analysis->lexicalClass;
            word.lemma = analysis->lemmaWords.join(QLatin1Char(' '));
        }
    }
}
