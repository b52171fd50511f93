#include <gtest/gtest.h>

#include "FillerWords.h"
#include "InsightsWriter.h"
#include "RecapWriter.h"

namespace {

using Texts = std::vector<std::string>;

std::vector<std::string> titles(const nlohmann::json& list)
{
    std::vector<std::string> result;
    for (const auto& item : list) {
        result.push_back(item.value("title", std::string()));
    }
    return result;
}

bool contains(const nlohmann::json& text, const std::string& part)
{
    return text.get<std::string>().find(part) != std::string::npos;
}

// The statistics screen counts fillers this way; the insights must quote the same numbers.
TEST(WritersTest, FillersAreCountedAsTheStatisticsCountThem)
{
    using Counts = std::vector<FillerWords::Count>;
    EXPECT_EQ(FillerWords::count("Um, I mean, like, you know"), (Counts{{"you know", 1}}));
    EXPECT_EQ(FillerWords::count("Like I said"), (Counts{{"like", 1}}));
    EXPECT_EQ(FillerWords::count("ну ну ну"), (Counts{{"ну", 3}}));
    EXPECT_EQ(FillerWords::count("ээээ"), Counts{});
    EXPECT_EQ(FillerWords::count("Ну, типа как бы это самое"),
              (Counts{{"как бы", 1}, {"типа", 1}, {"это самое", 1}}));
}

// Five ordinary dictations, as people send them: a filler or two, one very long message.
TEST(WritersTest, OrdinaryDictationsGetConcreteAdviceAndAResource)
{
    const Texts ordinary = {
        "Hey Tom, I basically finished the slides for Monday, so take a look when you can.",
        "Can you send me the budget numbers before the call?",
        "I think we should like move the launch to next week because the testing is not done.",
        "Remind me to book the train tickets and the hotel for the conference in Berlin.",
        "The meeting went well and the client liked the new design and they want a proposal by "
        "Friday and they also asked whether we could add the reporting module and the export "
        "and the single sign on before the end of the quarter which I think is possible.",
    };
    const auto advice = InsightsWriter::write(ordinary);
    ASSERT_TRUE(advice);
    EXPECT_EQ(
        titles(advice->at("suggestions")),
        (Texts{"Cut the filler words", "Break up long sentences", "Mark where thoughts end"}));
    const auto& fillers = advice->at("suggestions").at(0).at("detail");
    EXPECT_TRUE(contains(fillers, "2 times") &&
                contains(fillers, "\u201Cbasically\u201D (1\u00D7)") &&
                contains(fillers, "\u201Clike\u201D (1\u00D7)"))
        << fillers;
    EXPECT_TRUE(contains(advice->at("summary"), "2 filler words")) << advice->at("summary");
    ASSERT_EQ(advice->at("resources").size(), 3u);
    for (const auto& resource : advice->at("resources")) {
        EXPECT_FALSE(resource.at("why").get<std::string>().empty()) << resource;
    }
    EXPECT_EQ(InsightsWriter::write(ordinary), advice) << "the same samples give the same text";
}

TEST(WritersTest, InsightsNameRepetitionAndPraiseTidyTexts)
{
    EXPECT_EQ(InsightsWriter::write({"one two", "", "three four"}), std::nullopt);

    const Texts repetitive = {
        "The report is really really late and the report needs the report numbers.",
        "I just need the report today, it is really important.",
        "Send the report to the team, just the report.",
    };
    const auto advice = InsightsWriter::write(repetitive);
    ASSERT_TRUE(advice);
    EXPECT_EQ(titles(advice->at("suggestions")),
              (Texts{"Watch for doubled words", "Go easy on vague and intensifying words",
                     "Vary your wording"}));
    EXPECT_TRUE(
        contains(advice->at("suggestions").at(2).at("detail"), "\u201Creport\u201D (6\u00D7)"))
        << advice->at("suggestions").at(2);

    const Texts tidy = {
        "The quarterly figures arrived this morning and look stronger than expected.",
        "Please share the summary with the regional managers before lunch.",
        "Marketing wants a short presentation covering growth, churn and pricing."};
    const auto praise = InsightsWriter::write(tidy);
    ASSERT_TRUE(praise);
    EXPECT_TRUE(praise->at("suggestions").empty());
    EXPECT_EQ(praise->at("strengths").size(), 3u) << praise->at("strengths");
    EXPECT_EQ(praise->at("resources").size(), 1u) << "always something to read next";
}

TEST(WritersTest, RussianTextsAreAnalysedToo)
{
    const Texts russian = {
        "Ну короче я завтра приду на встречу.",
        "Ну ты типа отправь мне отчёт до вечера.",
        "Отчёт нужен для клиента, отчёт очень важный.",
    };
    const auto advice = InsightsWriter::write(russian);
    ASSERT_TRUE(advice);
    const auto& fillers = advice->at("suggestions").at(0).at("detail");
    EXPECT_TRUE(contains(fillers, "\u201C\u043D\u0443\u201D (2\u00D7)")) << fillers;
    EXPECT_EQ(RecapWriter::write(russian, "week").find("\u201C\u043D\u0443\u201D"),
              std::string::npos)
        << "fillers are not topics";
}

TEST(WritersTest, RecapCountsThePeriod)
{
    EXPECT_TRUE(RecapWriter::isPeriod("week") && RecapWriter::isPeriod("all"));
    EXPECT_FALSE(RecapWriter::isPeriod("Week") || RecapWriter::isPeriod(""));
    EXPECT_EQ(RecapWriter::write({"Budget review at noon.", "Move the budget call.", ""}, "week"),
              "This week you dictated 2 messages, 8 words in all. Words that came up most: "
              "\u201Cbudget\u201D (2\u00D7). The longest message ran to 4 words.");
    EXPECT_EQ(RecapWriter::write({"Hello there"}, "all"),
              "So far you have dictated 1 message, 2 words in all.");
    EXPECT_EQ(RecapWriter::write({" ", ""}, "month"), "Nothing was dictated in this period yet.");
}

} // namespace
