#include <gtest/gtest.h>

#include "ChatFeedbackWriter.h"
#include "InsightsWriter.h"
#include "RecapWriter.h"
#include "RuleFeedbackWriter.h"
#include "ScriptedUpstream.h"
#include "ServerHarness.h"
#include "SpeechEngine.h"
#include "Upstream.h"

namespace {

using Json = nlohmann::json;
using namespace std::chrono_literals;

class SilentEngine : public SpeechEngine
{
public:
    std::string transcribe(const Speech&) override { return {}; }
};

// A chat-completions reply whose message is `content`.
std::string completion(const std::string& content)
{
    return Json{{"id", "chatcmpl-1"},
                {"object", "chat.completion"},
                {"choices",
                 {{{"index", 0},
                   {"message", {{"role", "assistant"}, {"content", content}}},
                   {"finish_reason", "stop"}}}}}
        .dump();
}

const Json modelInsights = {
    {"summary", "Clear, friendly messages about the launch."},
    {"strengths", {"You name people and dates."}},
    {"suggestions", {{{"title", "Trim \"basically\""}, {"detail", "It appears twice."}}}},
    {"resources", {{{"title", "On Writing Well"}, {"why", "Its chapter on clutter."}}}},
};

const std::vector<std::string> samples = {
    "We basically need the launch plan by Friday.",
    "Tell Anna the launch moved to Tuesday.",
    "The launch deck is basically done.",
};

struct Fixture
{
    explicit Fixture(std::chrono::milliseconds timeout = 20s)
        : upstream("the language model", {scripted.url(), "sk-chat-77", timeout})
        , writer(upstream, "llama-3.1-8b", rules)
    {}

    ServerHarness::Reply insights()
    {
        return server.post("/api/insights", Json{{"samples", samples}}, token);
    }

    ScriptedUpstream scripted;
    Upstream upstream;
    RuleFeedbackWriter rules;
    ChatFeedbackWriter writer;
    SilentEngine engine;
    ServerHarness server{engine, writer};
    std::string token = server.registerDevice("DEVICE-A");
};

TEST(ChatFeedbackWriterTest, TheModelIsAskedForTheShapeAndItsAnswerIsUsed)
{
    Fixture f;
    Json withExtra = modelInsights;
    withExtra["confidence"] = 0.9;
    f.scripted.scriptJson(completion("```json\n" + withExtra.dump() + "\n```"));
    f.scripted.scriptJson(completion(R"({"summary": "A week of launch planning."})"));

    const auto insights = f.insights();
    EXPECT_EQ(insights.status, 200);
    EXPECT_EQ(insights.body, modelInsights) << "members the client does not know are left out";
    const auto recap =
        f.server.post("/api/summary", Json{{"texts", samples}, {"period", "week"}}, f.token);
    EXPECT_EQ(recap.body, (Json{{"summary", "A week of launch planning."}}));

    const auto received = f.scripted.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].path, "/v1/chat/completions");
    EXPECT_EQ(received[0].header("Authorization"), "Bearer sk-chat-77");
    const Json request = Json::parse(received[0].body);
    EXPECT_EQ(request["model"], "llama-3.1-8b");
    EXPECT_EQ(request["response_format"], (Json{{"type", "json_object"}}));
    const std::string instructions = request["messages"][0]["content"];
    for (const char* member : {"\"summary\"", "\"strengths\"", "\"suggestions\"", "\"detail\"",
                               "\"resources\"", "\"why\""}) {
        EXPECT_NE(instructions.find(member), std::string::npos) << member;
    }
    EXPECT_EQ(Json::parse(std::string(request["messages"][1]["content"])), Json(samples));
    const std::string recapInstructions = Json::parse(received[1].body)["messages"][0]["content"];
    EXPECT_NE(recapInstructions.find("the past week"), std::string::npos);
}

TEST(ChatFeedbackWriterTest, AnythingButTheShapeFallsBackToTheRules)
{
    Fixture f(2s);
    Json missing = modelInsights;
    missing.erase("resources");
    Json sameTitles = modelInsights;
    sameTitles["suggestions"].push_back(sameTitles["suggestions"][0]);
    Json wrongType = modelInsights;
    wrongType["strengths"] = "You name people.";
    const std::vector<ScriptedUpstream::Reply> replies = {
        {200, completion(missing.dump())},
        {200, completion(sameTitles.dump())},
        {200, completion(wrongType.dump())},
        {200, completion("Here are some insights: you write clearly and concisely!")},
        {200, R"({"choices": []})"},
        {429, R"({"error": {"message": "rate limited"}})"},
        {200, "", true},
    };
    for (const auto& reply : replies) {
        f.scripted.script(reply);
    }
    const auto byRules = InsightsWriter::write(samples);
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const auto insights = f.insights();
        EXPECT_EQ(insights.status, 200) << i;
        EXPECT_EQ(insights.body, byRules) << i;
    }

    f.scripted.scriptJson(completion("{\"summary\": 7}"));
    EXPECT_EQ(f.writer.recap(samples, "month"), RecapWriter::write(samples, "month"));
    // Too few samples is the rules' answer alone; the model is not asked.
    const std::size_t asked = f.scripted.received().size();
    EXPECT_EQ(f.server.post("/api/insights", Json{{"samples", {"one", "two"}}}, f.token).status,
              422);
    EXPECT_EQ(f.scripted.received().size(), asked);
}

} // namespace
