#include "text/Graphemes.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(GraphemesTest, CountsAndCutsWhatTheUserSeesAsCharacters)
{
    const QString text =
        u"ae\u0301👍🏽🇫🇷z"_s; // a, é as e + accent, thumbs up + tone, flag, z
    EXPECT_EQ(Graphemes::count(text), 5);
    EXPECT_EQ(Graphemes::count(QString()), 0);
    EXPECT_EQ(Graphemes::left(text, 2), u"ae\u0301"_s);
    EXPECT_EQ(Graphemes::left(text, 3), u"ae\u0301👍🏽"_s);
    EXPECT_EQ(Graphemes::left(text, 5), text);
    EXPECT_EQ(Graphemes::left(text, 50), text);
    EXPECT_EQ(Graphemes::left(text, 0), QString());
}

} // namespace
