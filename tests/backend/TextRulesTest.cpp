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
        {"what is the time", "What is the time?"},
        {"can you call me", "Can you call me?"},
        {"how about tomorrow", "How about tomorrow."},
        {"do it now", "Do it now."},
        {"is it ready", "Is it ready?"},
        {"i'm sure i'll go and i said hi", "I'm sure I'll go and I said hi."},
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
    for (const char* bad :
         {"Zg", "Zg=", "Z===", "====", "Zm9v\n", "Zm 9", "Zm9-", "Zm9_", "Zg==Zg=="}) {
        EXPECT_EQ(Base64::decode(bad), std::nullopt) << bad;
    }
}

TEST(TextRulesTest, OnlyPlainEmailAddressesPass)
{
    for (const char* good : {"a@b.co", "first.last+tag@mail.example.org", "x_y@sub-domain.io"}) {
        EXPECT_TRUE(EmailAddress::isValid(good)) << good;
    }
    for (const char* bad :
         {"", "plain", "@b.co", "a@", "a@b", "a@b.c", "a@@b.co", "a@b@c.co", ".a@b.co", "a..b@b.co",
          "a b@b.co", "a@-b.co", "a@b..co", "a@b.co\r\nBcc: x@y.zz", "a@b.co ", "\"a\"@b.co",
          "a@[127.0.0.1]", "ä@b.co"}) {
        EXPECT_FALSE(EmailAddress::isValid(bad)) << bad;
    }
    EXPECT_FALSE(EmailAddress::isValid(std::string(65, 'a') + "@b.co"));
    EXPECT_FALSE(EmailAddress::isValid("a@" + std::string(250, 'b') + ".co"));
}

TEST(TextRulesTest, WordsAndSentences)
{
    EXPECT_EQ(TextAnalysis::words("It's 5 o'clock, Ann-Marie! 'Quoted'"),
              (std::vector<std::string>{"it's", "5", "o'clock", "ann", "marie", "quoted"}));
    EXPECT_EQ(TextAnalysis::sentences("One two. Three!\nFour five six? ... "),
              (std::vector<std::vector<std::string>>{
                  {"one", "two"}, {"three"}, {"four", "five", "six"}}));
}

} // namespace
