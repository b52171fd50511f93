#include <gtest/gtest.h>

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

TEST(WritersTest, InsightsReportWhatTheSamplesShow)
{
    EXPECT_EQ(InsightsWriter::write({"one two", "", "three four"}), std::nullopt);

    const Texts rambling = {
        "Um so basically the the launch is um late and you know we are basically waiting on legal",
        "Uh I mean the budget is fine but um the timeline is really really tight",
        "We need um a decision by Friday"};
    const auto advice = InsightsWriter::write(rambling);
    ASSERT_TRUE(advice);
    EXPECT_EQ(
        titles(advice->at("suggestions")),
        (Texts{"Cut the filler words", "Watch for doubled words", "Go easy on intensifiers"}));
    EXPECT_EQ(titles(advice->at("resources")).size(), 3u);
    const std::string fillers = advice->at("suggestions").at(0).at("detail");
    EXPECT_NE(fillers.find("\u201Cum\u201D (4\u00D7)"), std::string::npos) << fillers;
    EXPECT_NE(std::string(advice->at("summary")).find("3 messages (40 words)"), std::string::npos)
        << advice->at("summary");
    EXPECT_EQ(InsightsWriter::write(rambling), advice) << "the same samples give the same text";

    const Texts tidy = {
        "The quarterly figures arrived this morning and look stronger than expected.",
        "Please share the summary with the regional managers before lunch.",
        "Marketing wants a short presentation covering growth, churn and pricing."};
    const auto praise = InsightsWriter::write(tidy);
    ASSERT_TRUE(praise);
    EXPECT_TRUE(praise->at("suggestions").empty());
    EXPECT_TRUE(praise->at("resources").empty());
    EXPECT_EQ(praise->at("strengths").size(), 3u) << praise->at("strengths");
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
