#include "platform/linux/OpenCorporaDictionary.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtEndian>

namespace {
// Separates a key from its values in the dictionary's DAWGs.
constexpr char valueSeparator = '\x01';
constexpr quint8 cp1251SmallIe = 0xE5;  // е
constexpr quint8 cp1251SmallIo = 0xB8;  // ё
constexpr qsizetype minGuessLength = 4; // shorter unknown words are not guessed
constexpr qsizetype maxGuessEnding = 5; // the longest ending the guesser knows

std::optional<QByteArray> toCp1251(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            bytes += char(u);
        else if (u >= 0x0410 && u <= 0x044F)
            bytes += char(u - 0x0410 + 0xC0);
        else if (u == 0x0401)
            bytes += char(0xA8);
        else if (u == 0x0451)
            bytes += char(cp1251SmallIo);
        else
            return std::nullopt;
    }
    return bytes;
}

QString fromCp1251(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const quint8 b = quint8(byte);
        if (b < 0x80)
            text += QChar(char16_t(b));
        else if (b >= 0xC0)
            text += QChar(char16_t(b - 0xC0 + 0x0410));
        else if (b == 0xA8)
            text += QChar(char16_t(0x0401));
        else if (b == cp1251SmallIo)
            text += QChar(char16_t(0x0451));
    }
    return text;
}

// The dictionary stores each 16-bit value as two non-zero bytes.
quint16 decodeNumber(QByteArrayView bytes, qsizetype at)
{
    return quint16(((quint8(bytes[at]) ^ 1) << 6) + (quint8(bytes[at + 1]) >> 1));
}

QStringList grammemesOf(const QString& tag)
{
    QString spaced = tag;
    spaced.replace(QLatin1Char(','), QLatin1Char(' '));
    return spaced.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

LexicalClass classOf(const QString& partOfSpeech)
{
    static const QHash<QString, LexicalClass> classes{
        {QStringLiteral("NOUN"), LexicalClass::noun},
        {QStringLiteral("VERB"), LexicalClass::verb},
        {QStringLiteral("INFN"), LexicalClass::verb},
        {QStringLiteral("PRTF"), LexicalClass::verb},
        {QStringLiteral("PRTS"), LexicalClass::verb},
        {QStringLiteral("GRND"), LexicalClass::verb},
        {QStringLiteral("ADJF"), LexicalClass::adjective},
        {QStringLiteral("ADJS"), LexicalClass::adjective},
        {QStringLiteral("COMP"), LexicalClass::adjective},
        {QStringLiteral("ADVB"), LexicalClass::adverb},
        {QStringLiteral("PRED"), LexicalClass::adverb},
    };
    return classes.value(partOfSpeech, LexicalClass::other);
}

// Names, surnames, patronymics, places and initials are readings of capitalized words only.
bool needsCapital(const QStringList& grammemes)
{
    static const QSet<QString> proper{QStringLiteral("Name"), QStringLiteral("Surn"),
                                      QStringLiteral("Patr"), QStringLiteral("Geox"),
                                      QStringLiteral("Init")};
    for (const QString& grammeme : grammemes) {
        if (proper.contains(grammeme))
            return true;
    }
    return false;
}

// Whether new words can take this reading: closed classes never grow.
bool isProductive(const QStringList& grammemes)
{
    static const QSet<QString> closed{QStringLiteral("NUMR"), QStringLiteral("NPRO"),
                                      QStringLiteral("PRED"), QStringLiteral("PREP"),
                                      QStringLiteral("CONJ"), QStringLiteral("PRCL"),
                                      QStringLiteral("INTJ"), QStringLiteral("Apro")};
    for (const QString& grammeme : grammemes) {
        if (closed.contains(grammeme))
            return false;
    }
    return true;
}

QJsonArray readJsonArray(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).array();
}

QStringList toStrings(const QJsonArray& array)
{
    QStringList strings;
    for (const QJsonValue& value : array)
        strings.append(value.toString());
    return strings;
}

QStringList paradigmPrefixes(const QJsonArray& meta)
{
    for (const QJsonValue& entry : meta) {
        const QJsonArray pair = entry.toArray();
        if (pair.at(0).toString() == QLatin1String("compile_options"))
            return toStrings(
                pair.at(1).toObject().value(QLatin1String("paradigm_prefixes")).toArray());
    }
    return {};
}

QList<QList<quint16>> readParadigms(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<quint16> numbers(file.size() / 2);
    const qint64 bytes = numbers.size() * 2;
    if (file.read(reinterpret_cast<char*>(numbers.data()), bytes) != bytes || numbers.isEmpty())
        return {};
    qFromLittleEndian<quint16>(numbers.constData(), numbers.size(), numbers.data());
    QList<QList<quint16>> paradigms;
    qsizetype at = 1;
    for (quint16 i = 0; i < numbers[0]; ++i) {
        if (at >= numbers.size() || at + 1 + numbers[at] > numbers.size())
            return {};
        paradigms.append(numbers.mid(at + 1, numbers[at]));
        at += 1 + numbers[at];
    }
    return paradigms;
}
} // namespace

bool OpenCorporaDictionary::load(const QString& folder)
{
    const auto path = [&](const char* name) {
        return folder + QLatin1Char('/') + QLatin1String(name);
    };
    m_paradigms = readParadigms(path("paradigms.array"));
    m_suffixes = toStrings(readJsonArray(path("suffixes.json")));
    m_tags = toStrings(readJsonArray(path("gramtab-opencorpora-int.json")));
    m_prefixes = paradigmPrefixes(readJsonArray(path("meta.json")));
    return m_words.load(path("words.dawg")) && m_probabilities.load(path("p_t_given_w.intdawg")) &&
           m_endings.load(path("prediction-suffixes-0.dawg")) && !m_paradigms.isEmpty() &&
           !m_suffixes.isEmpty() && !m_tags.isEmpty() && !m_prefixes.isEmpty();
}

std::optional<OpenCorporaDictionary::Reading>
OpenCorporaDictionary::reading(const QString& word) const
{
    const QString lower = word.toLower();
    const std::optional<QByteArray> encoded = toCp1251(lower);
    if (!encoded || lower.isEmpty())
        return std::nullopt;
    const bool capitalized = word.front().isUpper();
    // Only the class and the lemma matter here, so the readings that agree on both pool their
    // probability; readings never seen in the corpus add nothing and keep dictionary order.
    QList<std::pair<Reading, double>> pooled;
    for (const Candidate& candidate : lookUp(*encoded)) {
        std::optional<Reading> reading =
            readingOf(fromCp1251(candidate.form), candidate.paradigm, candidate.formIndex);
        if (!reading || (needsCapital(grammemesOf(reading->tag)) && !capitalized))
            continue;
        const auto same = std::find_if(pooled.begin(), pooled.end(), [&](const auto& entry) {
            return entry.first.lexicalClass == reading->lexicalClass &&
                   entry.first.lemma == reading->lemma;
        });
        if (same == pooled.end())
            pooled.append({*reading, probability(candidate)});
        else
            same->second += probability(candidate);
    }
    std::optional<Reading> best;
    double bestProbability = -1;
    for (const auto& [reading, p] : pooled) {
        if (p > bestProbability) {
            best = reading;
            bestProbability = p;
        }
    }
    return best ? best : guess(lower, *encoded);
}

QList<OpenCorporaDictionary::Candidate> OpenCorporaDictionary::lookUp(const QByteArray& word) const
{
    QList<Candidate> candidates;
    // Written Russian often has "е" for "ё", and either may be what the dictionary spells.
    const std::function<void(Dawg::Node, QByteArray&)> walk = [&](Dawg::Node node,
                                                                  QByteArray& form) {
        if (form.size() == word.size()) {
            const std::optional<Dawg::Node> values = m_words.follow(valueSeparator, node);
            if (!values)
                return;
            m_words.complete(*values, [&](QByteArrayView key) {
                if (key.size() >= 4)
                    candidates.append({form, decodeNumber(key, 0), decodeNumber(key, 2)});
            });
            return;
        }
        const quint8 next = quint8(word[form.size()]);
        const bool ie = next == cp1251SmallIe || next == cp1251SmallIo;
        for (quint8 letter : {next, next == cp1251SmallIe ? cp1251SmallIo : cp1251SmallIe}) {
            if (letter != next && !ie)
                break;
            if (const std::optional<Dawg::Node> child = m_words.follow(letter, node)) {
                form.append(char(letter));
                walk(*child, form);
                form.chop(1);
            }
        }
    };
    QByteArray form;
    walk(Dawg::root, form);
    return candidates;
}

std::optional<OpenCorporaDictionary::Reading>
OpenCorporaDictionary::guess(const QString& word, const QByteArray& encoded) const
{
    const bool cyrillic = std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.script() == QChar::Script_Cyrillic || c == QLatin1Char('-');
    });
    if (!cyrillic || word.size() < minGuessLength)
        return std::nullopt;
    for (qsizetype length = std::min(maxGuessEnding, encoded.size() - 1); length >= 1; --length) {
        const std::optional<Dawg::Node> node =
            m_endings.follow(encoded.last(length) + valueSeparator);
        if (!node)
            continue;
        std::optional<Reading> best;
        quint16 bestCount = 0;
        m_endings.complete(*node, [&](QByteArrayView key) {
            if (key.size() < 6)
                return;
            const quint16 count = decodeNumber(key, 0);
            std::optional<Reading> reading =
                readingOf(word, decodeNumber(key, 2), decodeNumber(key, 4));
            if (reading && count > bestCount && isProductive(grammemesOf(reading->tag)) &&
                !needsCapital(grammemesOf(reading->tag))) {
                best = reading;
                bestCount = count;
            }
        });
        if (best)
            return best;
    }
    return std::nullopt;
}

std::optional<OpenCorporaDictionary::Reading>
OpenCorporaDictionary::readingOf(const QString& word, quint16 paradigm, quint16 formIndex) const
{
    if (paradigm >= m_paradigms.size())
        return std::nullopt;
    const QList<quint16>& forms = m_paradigms[paradigm];
    const qsizetype count = forms.size() / 3;
    if (formIndex >= count)
        return std::nullopt;
    const auto suffix = [&](qsizetype form) { return m_suffixes.value(forms[form]); };
    const auto prefix = [&](qsizetype form) { return m_prefixes.value(forms[2 * count + form]); };
    const QString formSuffix = suffix(formIndex);
    const QString formPrefix = prefix(formIndex);
    const qsizetype stemLength = word.size() - formPrefix.size() - formSuffix.size();
    if (stemLength < 0 || !word.startsWith(formPrefix) || !word.endsWith(formSuffix))
        return std::nullopt;
    Reading reading;
    reading.tag = tagOf(paradigm, formIndex);
    reading.lemma = prefix(0) + word.mid(formPrefix.size(), stemLength) + suffix(0);
    const QStringList grammemes = grammemesOf(reading.tag);
    // Pronominal adjectives ("этот", "мой", "весь") behave as determiners, not adjectives.
    reading.lexicalClass = grammemes.contains(QLatin1String("Apro")) ? LexicalClass::other
                                                                     : classOf(grammemes.value(0));
    return reading;
}

double OpenCorporaDictionary::probability(const Candidate& candidate) const
{
    const QByteArray key =
        candidate.form + ':' + tagOf(candidate.paradigm, candidate.formIndex).toLatin1();
    const std::optional<Dawg::Node> node = m_probabilities.follow(key);
    const std::optional<quint32> value = node ? m_probabilities.value(*node) : std::nullopt;
    return value ? *value / 1e6 : 0;
}

QString OpenCorporaDictionary::tagOf(quint16 paradigm, quint16 formIndex) const
{
    const QList<quint16>& forms = m_paradigms[paradigm];
    return m_tags.value(forms[forms.size() / 3 + formIndex]);
}
