#include "stats/LinguisticProfile.h"

#include <gtest/gtest.h>

namespace {

TaggedText tagged(std::initializer_list<std::pair<LexicalClass, const char16_t*>> words)
{
    TaggedText text;
    for (const auto& [lexicalClass, lemma] : words)
        text.words.append({0, 0, lexicalClass, QString::fromUtf16(lemma)});
    return text;
}

constexpr auto noun = LexicalClass::noun;
constexpr auto verb = LexicalClass::verb;
constexpr auto adjective = LexicalClass::adjective;
constexpr auto adverb = LexicalClass::adverb;
constexpr auto other = LexicalClass::other;

TEST(LinguisticProfileTest, EmptyTextsGiveAnEmptyProfile)
{
    EXPECT_EQ(buildLinguisticProfile({}), LinguisticProfile());
    EXPECT_EQ(buildLinguisticProfile({TaggedText(), TaggedText()}), LinguisticProfile());
}

TEST(LinguisticProfileTest, CountsClassesAndDistinctContentLemmas)
{
    const LinguisticProfile profile = buildLinguisticProfile({
        tagged({{other, u"i"}, {verb, u"Run"}, {adverb, u"quickly"}, {other, u"the"}}),
        tagged({{verb, u"run"}, {verb, u"run"}, {noun, u"x"}, {adjective, u"happy"}}),
        tagged({{noun, u"error"}, {noun, u"bug"}, {noun, u"ошибка"}}),
    });
    EXPECT_EQ(profile.nouns, 4);
    EXPECT_EQ(profile.verbs, 3);
    EXPECT_EQ(profile.adjectives, 1);
    EXPECT_EQ(profile.other, 3); // the adverb counts here
    // run, quickly, x, happy, error, bug, ошибка: lemmas compare lower-cased.
    EXPECT_EQ(profile.uniqueWords, 7);
    // Adverbs, one-letter lemmas and the excluded words are never top words.
    EXPECT_EQ(profile.topWords,
              (QList<WordCount>{{QStringLiteral("run"), 3}, {QStringLiteral("happy"), 1}}));
}

TEST(LinguisticProfileTest, TopWordsBreakTiesAlphabeticallyAndStopAtFourteen)
{
    TaggedText text;
    const QStringList lemmas{QStringLiteral("zebra"), QStringLiteral("яблоко"),
                             QStringLiteral("apple"), QStringLiteral("école")};
    for (const QString& lemma : lemmas)
        text.words.append({0, 0, noun, lemma});
    for (int i = 0; i < 12; ++i) {
        for (int repeat = 0; repeat < 2; ++repeat)
            text.words.append(
                {0, 0, noun, QStringLiteral("word%1").arg(i, 2, 10, QLatin1Char('0'))});
    }
    const QList<WordCount> top = buildLinguisticProfile({text}).topWords;
    ASSERT_EQ(top.size(), 14);
    EXPECT_EQ(top[11].word, QStringLiteral("word11"));
    // Of the four single lemmas only the first two in Unicode order make the cut.
    EXPECT_EQ(top[12].word, QStringLiteral("apple"));
    EXPECT_EQ(top[13].word, QStringLiteral("zebra"));
}

} // namespace
