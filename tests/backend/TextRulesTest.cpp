#include <gtest/gtest.h>

#include "Base64.h"
#include "EmailAddress.h"
#include "TextAnalysis.h"
#include "TranscriptCategorizer.h"
#include "TranscriptCleaner.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(TextRulesTest, CleanUpDropsFillersAndMarkersAndPunctuates)
{
    const Pairs cases = {
        {"hello world", "Hello world."},
        {"um so uh i think we're done", "So I think we're done."},
        {"<s> send it <sil> [NOISE] ++UH++ now </s>", "Send it now."},
        {"read(2) the book", "Read the book."},
        {"   spaced \t out  ", "Spaced out."},
        {"umbrella ahead", "Umbrella ahead."},
        {"um uh hmm <sil>", ""},
        {"", ""},
    };
    for (const auto& [raw, text] : cases) {
        EXPECT_EQ(TranscriptCleaner::clean(raw), text) << raw;
    }
    EXPECT_EQ(TranscriptCleaner::raw("<s> so(2) um <sil>  right [NOISE] </s>"), "so um right");
}

TEST(TextRulesTest, CleanUpAsksCapitalisesAndDropsStutters)
{
    const Pairs cases = {
        {"what time is it", "What time is it?"},
        {"how about tomorrow", "How about tomorrow?"},
        {"where when who why", "Where when who why?"},
        {"does it work", "Does it work?"},
        {"is it ready", "Is it ready?"},
        {"are we there", "Are we there?"},
        {"can you call me", "Can you call me?"},
        {"could we meet", "Could we meet?"},
        {"would you mind", "Would you mind?"},
        {"will it rain", "Will it rain?"},
        {"should i go", "Should I go?"},
        {"do you know", "Do you know?"},
        {"do it now", "Do it now."},
        {"what a day", "What a day."},
        {"it is what it is", "It is what it is."},
        {"i'm sure i've said i'll go and i said hi", "I'm sure I've said I'll go and I said hi."},
        {"see you on monday or sunday", "See you on Monday or Sunday."},
        {"due in january then december", "Due in January then December."},
        {"in may or march fifth or may 3", "In May or March fifth or May 3."},
        {"this may take a while so march on", "This may take a while so march on."},
        {"the the the plan is is set", "The plan is set."},
        {"the um the plan", "The plan."},
        {"I i i agree", "I agree."},
        {"she had had enough", "She had had enough."},
        {"he said that that was fine", "He said that that was fine."},
    };
    for (const auto& [raw, text] : cases) {
        EXPECT_EQ(TranscriptCleaner::clean(raw), text) << raw;
    }
}

// What a punctuating engine (an upstream server) sends, in English and in Russian.
TEST(TextRulesTest, CleanUpKeepsPunctuationAndHandlesRussian)
{
    const Pairs cases = {
        {"Um, so, um, I think we're done, um.", "So I think we're done."},
        {"I, uh, think so.", "I think so."},
        {"Basically, it works. you know, it's fine", "It works. It's fine."},
        {"I like it, you know, a lot.", "I like it, you know, a lot."},
        {"Where are you? i'm at the station", "Where are you? I'm at the station."},
        {"He said \"see you on monday.\"", "He said \"see you on Monday.\""},
        {"Wait... what", "Wait... what."},
        {"very, very good", "Very, very good."},
        {"the the plan,", "The plan."},
        {"ну, короче, я завтра приду на встречу", "Я завтра приду на встречу."},
        {"Я, эээ, думаю, что это хорошо", "Я думаю, что это хорошо."},
        {"слушай, а ты придёшь?", "А ты придёшь?"},
        {"Короче говоря, всё. значит, договорились", "Короче говоря, всё. Договорились."},
        {"это значит, что мы успеем", "Это значит, что мы успеем."},
        {"«привет», сказал он", "«Привет», сказал он."},
        {"я я я согласен", "Я согласен."},
        {"Ммм, эээ.", ""},
    };
    for (const auto& [raw, text] : cases) {
        EXPECT_EQ(TranscriptCleaner::clean(raw), text) << raw;
    }
}

TEST(TextRulesTest, CategoryOnlyWhenARuleIsSure)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"Can you call me back?", "question"},
        {"Dear John, the invoice is attached.", "email"},
        {"The invoice is attached. Best regards, Ann.", "email"},
        {"Remind me to buy milk.", "reminder"},
        {"Don't forget the keys.", "reminder"},
        {"Todo fix the sink.", "task"},
        {"The dear old house.", std::nullopt},
        {"I remember to buy milk.", std::nullopt},
        {"Thanks for the update.", std::nullopt},
    };
    for (const auto& [text, category] : cases) {
        EXPECT_EQ(TranscriptCategorizer::categorize(text), category) << text;
    }
}

TEST(TextRulesTest, Base64IsStrictStandardBase64)
{
    const Pairs cases = {{"", ""},
                         {"f", "Zg=="},
                         {"fo", "Zm8="},
                         {"foo", "Zm9v"},
                         {std::string("\0\xFF\x10", 3), "AP8Q"}};
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Base64::encode(bytes), text);
        EXPECT_EQ(Base64::decode(text), bytes) << text;
    }
    for (const std::string bad : {"Zg", "Zg=", "Z===", "====", "Zm9v\n", "Zm 9", "Zm9-", "Zm9_",
                                  "Zg==Zg==", "Zg=a", "Z=g=", "Zm9vZg="}) {
        EXPECT_EQ(Base64::decode(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(Base64::decode(std::string("Zm9v\0AAA", 8)), std::nullopt);
}

TEST(TextRulesTest, OnlyPlainEmailAddressesPass)
{
    for (const char* good : {"a@b.co", "first.last+tag@mail.example.org", "x_y@sub-domain.io"}) {
        EXPECT_TRUE(EmailAddress::isValid(good)) << good;
    }
    for (const char* bad : {"",
                            "plain",
                            "@b.co",
                            "a@",
                            "a@b",
                            "a@b.c",
                            "a@@b.co",
                            "a@b@c.co",
                            ".a@b.co",
                            "a..b@b.co",
                            "a b@b.co",
                            "a@-b.co",
                            "a@b-.co",
                            "a@mail-.example.org",
                            "a@b..co",
                            "a@b.co\r\nBcc: x@y.zz",
                            "a@b.co ",
                            "\"a\"@b.co",
                            "a@[127.0.0.1]",
                            "ä@b.co"}) {
        EXPECT_FALSE(EmailAddress::isValid(bad)) << bad;
    }
    EXPECT_FALSE(EmailAddress::isValid(std::string(65, 'a') + "@b.co"));
    EXPECT_FALSE(EmailAddress::isValid("a@" + std::string(250, 'b') + ".co"));
}

TEST(TextRulesTest, WordsAndSentences)
{
    EXPECT_EQ(TextAnalysis::words("It's 5 o'clock, Ann-Marie! 'Quoted'"),
              (std::vector<std::string>{"it's", "5", "o'clock", "ann", "marie", "quoted"}));
    EXPECT_EQ(TextAnalysis::words("«Ёлки» — ЗДЕСЬ, it’s…"),
              (std::vector<std::string>{"ёлки", "здесь", "it’s"}));
    EXPECT_EQ(TextAnalysis::sentences("One two. Three!\nFour five six? ... "),
              (std::vector<std::vector<std::string>>{
                  {"one", "two"}, {"three"}, {"four", "five", "six"}}));
}

} // namespace
