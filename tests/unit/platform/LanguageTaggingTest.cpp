#include "platform/linux/IcuWordTokenizer.h"
#include "platform/linux/MultilingualTagger.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <signal.h>

namespace {

// A hand-labelled text: its words with the class and lemma a careful reader gives them.
struct LabelledText
{
    QString text;
    QStringList words;
    QList<LexicalClass> classes;
    QStringList lemmas;
};

LexicalClass classNamed(const QString& name)
{
    static const QHash<QString, LexicalClass> classes{
        {QStringLiteral("noun"), LexicalClass::noun},
        {QStringLiteral("verb"), LexicalClass::verb},
        {QStringLiteral("adjective"), LexicalClass::adjective},
        {QStringLiteral("adverb"), LexicalClass::adverb},
        {QStringLiteral("other"), LexicalClass::other}};
    return classes.value(name, LexicalClass::other);
}

QList<LabelledText> readCorpus(const QString& name)
{
    QFile file(QStringLiteral(MURMO_TEST_DATA_DIR "/tagging/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    QList<LabelledText> texts;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("= "))) {
            texts.append({line.mid(2), {}, {}, {}});
        } else if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            texts.last().words << fields.value(0);
            texts.last().classes << classNamed(fields.value(1));
            texts.last().lemmas << fields.value(2);
        }
    }
    return texts;
}

// Lemmas compare without case and without the optional dots of "ё".
QString foldLemma(QString lemma)
{
    return lemma.toLower().replace(QChar(u'ё'), QChar(u'е'));
}

struct Accuracy
{
    double classes = 0;
    double lemmas = 0;
};

Accuracy measure(MultilingualTagger& tagger, const QList<LabelledText>& corpus)
{
    QStringList texts;
    for (const LabelledText& labelled : corpus)
        texts << labelled.text;
    const QList<TaggedText> tagged = tagger.tag(texts);
    qsizetype words = 0;
    qsizetype rightClasses = 0;
    qsizetype rightLemmas = 0;
    for (qsizetype t = 0; t < corpus.size(); ++t) {
        const LabelledText& labelled = corpus[t];
        const QList<TaggedWord>& got = tagged[t].words;
        EXPECT_FALSE(tagged[t].provisional);
        EXPECT_EQ(got.size(), labelled.words.size()) << labelled.text.toStdString();
        for (qsizetype w = 0; w < std::min(got.size(), labelled.words.size()); ++w) {
            const TaggedWord& word = got[w];
            EXPECT_EQ(labelled.text.mid(word.start, word.length), labelled.words[w]);
            ++words;
            rightClasses += word.lexicalClass == labelled.classes[w];
            rightLemmas += foldLemma(word.lemma) == foldLemma(labelled.lemmas[w]);
        }
    }
    return {double(rightClasses) / words, double(rightLemmas) / words};
}

class LanguageTaggingTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { tagger = new MultilingualTagger(); }
    static void TearDownTestSuite() { delete tagger; }

    static MultilingualTagger* tagger;
};

MultilingualTagger* LanguageTaggingTest::tagger = nullptr;

TEST_F(LanguageTaggingTest, TagsHandLabelledDictationAccurately)
{
    for (const char* corpus : {"english.txt", "russian.txt"}) {
        const Accuracy accuracy = measure(*tagger, readCorpus(QString::fromLatin1(corpus)));
        std::cout << corpus << ": classes " << accuracy.classes * 100 << " %, lemmas "
                  << accuracy.lemmas * 100 << " %\n";
        RecordProperty(std::string(corpus) + " class accuracy", std::to_string(accuracy.classes));
        RecordProperty(std::string(corpus) + " lemma accuracy", std::to_string(accuracy.lemmas));
        EXPECT_GE(accuracy.classes, 0.93) << corpus;
    }
}

TEST_F(LanguageTaggingTest, IdentifiesShortTextsInBothLanguages)
{
    const QStringList english{QStringLiteral("Hello"),
                              QStringLiteral("Thanks!"),
                              QStringLiteral("See you soon"),
                              QStringLiteral("Call me back"),
                              QStringLiteral("Meeting moved to Friday"),
                              QStringLiteral("I will be late tonight")};
    const QStringList russian{QStringLiteral("Привет"),
                              QStringLiteral("Спасибо!"),
                              QStringLiteral("Скоро буду"),
                              QStringLiteral("Перезвони мне"),
                              QStringLiteral("Встреча в пятницу"),
                              QStringLiteral("Я сегодня задержусь немного")};
    for (const QString& text : english)
        EXPECT_EQ(tagger->languageOf(text), QStringLiteral("en")) << text.toStdString();
    for (const QString& text : russian)
        EXPECT_EQ(tagger->languageOf(text), QStringLiteral("ru")) << text.toStdString();
    EXPECT_EQ(tagger->languageOf(QStringLiteral("42 :-)")), QString());
}

TEST_F(LanguageTaggingTest, AnswersEveryTextWhenThePipelineIsKilledMidBatch)
{
    QStringList texts;
    for (int i = 0; i < 2000; ++i)
        texts << QStringLiteral("Message %1: the quick brown fox jumps over the lazy dogs.").arg(i);
    const QList<TaggedText> expected = tagger->tag(texts);

    const QList<pid_t> before = tagger->apertiumProcessIds();
    ASSERT_FALSE(before.isEmpty());
    QList<TaggedText> tagged;
    std::thread batch([&] { tagged = tagger->tag(texts); });
    // Kill the first pipeline (analyser, grammar, tagger) once its tagger answers this batch.
    const QString io = QStringLiteral("/proc/%1/io").arg(before.at(2));
    const auto written = [&] {
        QFile file(io);
        file.open(QIODevice::ReadOnly);
        const QByteArray stats = file.readAll();
        const qsizetype at = stats.indexOf("wchar: ");
        return at < 0 ? 0 : stats.mid(at + 7, stats.indexOf('\n', at) - at - 7).toLongLong();
    };
    const qint64 answeredBefore = written();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (written() == answeredBefore && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ::kill(before.first(), SIGKILL);
    batch.join();

    EXPECT_EQ(tagged, expected);
    EXPECT_NE(tagger->apertiumProcessIds().first(), before.first());
}

TEST_F(LanguageTaggingTest, TagsAHundredThousandCharacterText)
{
    QString text;
    while (text.size() < 100000)
        text += QStringLiteral("We reviewed the budget and the team agreed on three changes. ");
    const TaggedText tagged = tagger->tag({text}).first();
    EXPECT_FALSE(tagged.provisional);
    EXPECT_EQ(tagged.words.size(), IcuWordTokenizer().words(text).size());
    EXPECT_EQ(tagged.words.last().lemma, QStringLiteral("change"));
    EXPECT_EQ(tagged.words.last().lexicalClass, LexicalClass::noun);
}

TEST_F(LanguageTaggingTest, KeepsReservedCharactersFromDisturbingTheStream)
{
    const QString reserved = QStringLiteral(
        "Ping ^me$ at <bob@example.com> about [the] {plan} / a\\b # + * ~ | $^ ^$ \\ and wait");
    const QString withNull = QStringLiteral("Null") + QChar(QChar::Null) + QStringLiteral(" here");
    const QList<TaggedText> tagged =
        tagger->tag({reserved, withNull, QStringLiteral("She bought a cat.")});
    EXPECT_FALSE(tagged[0].provisional);
    EXPECT_EQ(tagged[0].words.size(), IcuWordTokenizer().words(reserved).size());
    EXPECT_EQ(tagged[0].words.last().lemma, QStringLiteral("wait"));
    EXPECT_EQ(tagged[1].words.size(), 2);
    const QList<TaggedWord> cat = tagged[2].words;
    ASSERT_EQ(cat.size(), 4);
    EXPECT_EQ(cat[1].lexicalClass, LexicalClass::verb);
    EXPECT_EQ(cat[1].lemma, QStringLiteral("buy"));
    EXPECT_EQ(cat[3].lexicalClass, LexicalClass::noun);
}

TEST(OpenCorporaDictionaryTest, DamagedOrMissingDataNeverCrashesTheTagger)
{
    const MultilingualTagger::DataFolders installed = MultilingualTagger::installedData();
    QTemporaryDir damaged;
    for (const QString& name : QDir(installed.russian).entryList(QDir::Files))
        QFile::copy(installed.russian + QLatin1Char('/') + name, damaged.filePath(name));
    QFile words(damaged.filePath(QStringLiteral("words.dawg")));
    ASSERT_TRUE(words.open(QIODevice::ReadWrite));
    QByteArray bytes = words.readAll();
    for (qsizetype i = 64; i < bytes.size(); i += 7)
        bytes[i] = char(bytes[i] ^ 0x5A);
    words.seek(0);
    words.write(bytes);
    words.close();

    OpenCorporaDictionary dictionary;
    dictionary.load(damaged.path());
    for (const QString& word : {QStringLiteral("привет"), QStringLiteral("доберёшься"),
                                QStringLiteral("незнакомоеслово"), QStringLiteral("ёж")})
        dictionary.reading(word); // any answer will do, as long as there is one

    MultilingualTagger missing(
        {installed.apertium, damaged.filePath(QStringLiteral("none")), installed.fingerprints});
    const TaggedText tagged =
        missing.tag({QStringLiteral("Я сегодня задержусь на работе")}).first();
    EXPECT_TRUE(tagged.provisional);
    EXPECT_EQ(tagged.words.size(), 5);
}

TEST(IcuWordTokenizerTest, CountsWordsAndNumbersButNotPunctuationOrSymbols)
{
    const IcuWordTokenizer tokenizer;
    const auto count = [&](const char16_t* text) {
        return tokenizer.words(QString::fromUtf16(text)).size();
    };
    EXPECT_EQ(count(u""), 0);
    EXPECT_EQ(count(u" ... !? — "), 0);
    EXPECT_EQ(count(u"Hello, world!"), 2);
    EXPECT_EQ(count(u"It's 3.5 times faster, isn't it?"), 6);
    EXPECT_EQ(count(u"Привет, как дела? 👍"), 3);
    EXPECT_EQ(count(u"e-mail"), 2);
}

} // namespace
