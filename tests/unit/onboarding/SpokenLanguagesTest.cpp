#include "onboarding/SpokenLanguages.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(SpokenLanguagesTest, NamesComeFromTheLocaleData)
{
    EXPECT_EQ(SpokenLanguages::codes().size(), 90);
    EXPECT_EQ(SpokenLanguages::codes().front(), u"en"_s);
    EXPECT_EQ(SpokenLanguages::codes().back(), u"sa"_s);

    EXPECT_EQ(SpokenLanguages::displayLabel(u"de"_s), u"German (Deutsch)"_s);
    EXPECT_EQ(SpokenLanguages::displayLabel(u"en"_s), u"English"_s);
    EXPECT_EQ(SpokenLanguages::nativeName(u"ru"_s), u"Русский"_s); // upper-cased first letter
    EXPECT_EQ(SpokenLanguages::nativeName(u"es"_s), u"Español"_s); // not a regional variety
    EXPECT_EQ(SpokenLanguages::englishName(u"qq"_s), u"qq"_s);
    EXPECT_EQ(SpokenLanguages::nativeName(u"qq"_s), QString());
    // Every supported code has a name to show.
    for (const QString& code : SpokenLanguages::codes())
        EXPECT_FALSE(SpokenLanguages::displayLabel(code).isEmpty()) << qPrintable(code);
}

TEST(SpokenLanguagesTest, FilterFindsNamesAndCodes)
{
    EXPECT_EQ(SpokenLanguages::filtered(u" \t "_s), SpokenLanguages::codes());
    EXPECT_EQ(SpokenLanguages::filtered(u"deu"_s), QStringList{u"de"_s});
    EXPECT_TRUE(SpokenLanguages::filtered(u"  GER"_s).contains(u"de"_s));
    EXPECT_EQ(SpokenLanguages::filtered(u"haw"_s), QStringList{u"haw"_s});
    EXPECT_TRUE(SpokenLanguages::filtered(u"zzzz"_s).isEmpty());
    // Line breaks are not trimmed away.
    EXPECT_TRUE(SpokenLanguages::filtered(u"ger\n"_s).isEmpty());
}

} // namespace
