#include <gtest/gtest.h>
#include <httplib.h>

#include "Base64.h"
#include "ServerHarness.h"
#include "SpeechEngine.h"
#include "WavFile.h"

namespace {

using Json = nlohmann::json;

// Answers with a fixed hypothesis and remembers how much audio it was given.
class FakeEngine : public SpeechEngine
{
public:
    std::string transcribe(std::span<const std::int16_t> samples) override
    {
        heardSamples = samples.size();
        return hypothesis;
    }

    std::string hypothesis = "hello world";
    std::size_t heardSamples = 0;
};

Json dictation(const std::string& wav, const std::string& ext = "wav")
{
    return {{"audio", Base64::encode(wav)}, {"ext", ext}};
}

bool isErrorReply(const ServerHarness::Reply& reply)
{
    return reply.body.is_object() && reply.body.contains("error") &&
           reply.body["error"].is_string();
}

class BackendServerTest : public testing::Test
{
protected:
    FakeEngine engine;
    ServerHarness server{engine, 2, std::chrono::seconds(5)};
};

TEST_F(BackendServerTest, RegistrationGivesEachDeviceOneLastingToken)
{
    const std::string first = server.registerDevice("DEVICE-A");
    EXPECT_EQ(first.size(), 64u);
    EXPECT_EQ(server.registerDevice("DEVICE-A"), first);
    EXPECT_NE(server.registerDevice("DEVICE-B"), first);
    // The client accepts only replies whose members are all texts.
    const auto reply = server.post("/api/register", Json{{"device", "DEVICE-A"}});
    EXPECT_EQ(reply.body, (Json{{"token", first}}));
    for (const Json& body : {Json::object(), Json{{"device", ""}}, Json{{"device", 7}},
                             Json{{"device", std::string(300, 'x')}}}) {
        const auto refused = server.post("/api/register", body);
        EXPECT_EQ(refused.status, 400) << body;
        EXPECT_TRUE(isErrorReply(refused)) << body;
    }
}

TEST_F(BackendServerTest, AuthorisedEndpointsRefuseUnknownOrEmptyTokens)
{
    const std::string token = server.registerDevice("DEVICE-A");
    const Json anyBody = {{"samples", Json::array()}};
    for (const char* path :
         {"/api/dictate", "/api/onboarded", "/api/invite", "/api/insights", "/api/summary"}) {
        for (const std::string& wrong : {std::string(), std::string("not-a-token"), token + "x"}) {
            const auto reply = server.post(path, anyBody, wrong);
            EXPECT_EQ(reply.status, 401) << path << " with '" << wrong << "'";
            EXPECT_TRUE(isErrorReply(reply));
        }
    }
}

TEST_F(BackendServerTest, DictationAnswersCleanTextRawWordsAndCategory)
{
    const std::string token = server.registerDevice("DEVICE-A");
    engine.hypothesis = "<s> can you um call me <sil> back </s>";
    const auto reply = server.post("/api/dictate", dictation(WavFile::tone(1.0, 8000, 2)), token);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, (Json{{"text", "Can you call me back?"},
                                {"raw", "can you um call me back"},
                                {"category", "question"}}));
    // 8 kHz stereo arrives at the recogniser as 16 kHz mono.
    EXPECT_NEAR(static_cast<double>(engine.heardSamples), 16000.0, 32.0);

    engine.hypothesis = "send the report";
    const auto plain = server.post("/api/dictate", dictation(WavFile::tone(0.5, 16000, 1)), token);
    EXPECT_EQ(plain.body, (Json{{"text", "Send the report."}, {"raw", "send the report"}}));
    // Another language is accepted and transcribed as English all the same.
    Json withLanguage = dictation(WavFile::tone(0.5, 16000, 1));
    withLanguage["lang"] = "de";
    withLanguage["style"] = "formal";
    EXPECT_EQ(server.post("/api/dictate", withLanguage, token).status, 200);
}

TEST_F(BackendServerTest, DictationWithNothingRecognisedIs422)
{
    const std::string token = server.registerDevice("DEVICE-A");
    for (const char* heard : {"", "<sil>", "um uh [NOISE] hmm"}) {
        engine.hypothesis = heard;
        const auto reply =
            server.post("/api/dictate", dictation(WavFile::tone(0.5, 16000, 1)), token);
        EXPECT_EQ(reply.status, 422) << heard;
        EXPECT_TRUE(isErrorReply(reply));
    }
}

TEST_F(BackendServerTest, MalformedDictationsAre400WithAnError)
{
    const std::string token = server.registerDevice("DEVICE-A");
    const std::string wav = WavFile::tone(0.5, 16000, 1);
    const std::vector<std::string> bodies = {
        "{",
        "[1, 2]",
        "not json at all",
        std::string(100000, '['),
        Json{{"ext", "wav"}}.dump(),
        Json{{"audio", 12}, {"ext", "wav"}}.dump(),
        Json{{"audio", ""}, {"ext", "wav"}}.dump(),
        Json{{"audio", "abc"}, {"ext", "wav"}}.dump(),
        Json{{"audio", "@@@@"}, {"ext", "wav"}}.dump(),
        Json{{"audio", Base64::encode(wav)}}.dump(),
        Json{{"audio", Base64::encode(wav)}, {"ext", "mp3"}}.dump(),
        Json{{"audio", Base64::encode(wav)}, {"ext", "wav"}, {"lang", 5}}.dump(),
        dictation("this is not audio, only text pretending to be").dump(),
        dictation(wav.substr(0, 30)).dump(),
        dictation(std::string(4096, '\0'), "m4a").dump(),
    };
    for (const auto& body : bodies) {
        const auto reply = server.post("/api/dictate", body, token);
        EXPECT_EQ(reply.status, 400) << body.substr(0, 80);
        EXPECT_TRUE(isErrorReply(reply)) << body.substr(0, 80);
    }
}

TEST_F(BackendServerTest, OversizedRequestsAreRefused)
{
    const std::string token = server.registerDevice("DEVICE-A");
    // The harness caps recordings at 5 s.
    const auto tooLong =
        server.post("/api/dictate", dictation(WavFile::tone(6.0, 16000, 1)), token);
    EXPECT_EQ(tooLong.status, 413);
    EXPECT_TRUE(isErrorReply(tooLong));

    const auto tooBig = server.post("/api/dictate", std::string(51 * 1024 * 1024, ' '), token);
    EXPECT_EQ(tooBig.status, 413);
    EXPECT_TRUE(isErrorReply(tooBig));

    // A chunked upload declares no length beforehand; it is held to the same limit as it arrives.
    const auto postChunked = [&](const std::string& chunk, int count) {
        httplib::Client client("127.0.0.1", server.port());
        client.set_write_timeout(std::chrono::seconds(60));
        return client.Post(
            "/api/register",
            [&, sent = 0](std::size_t, httplib::DataSink& sink) mutable {
                sink.write(chunk.data(), chunk.size());
                if (++sent == count) {
                    sink.done();
                }
                return true;
            },
            "application/json");
    };
    const auto small = postChunked(Json{{"device", "DEVICE-C"}}.dump(), 1);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->status, 200);
    const auto huge = postChunked(std::string(1024 * 1024, ' '), 51);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
}

TEST_F(BackendServerTest, InvitesAreCheckedQueuedAndLimitedPerDay)
{
    const std::string token = server.registerDevice("DEVICE-A");
    const auto invite = [&](const Json& body) {
        return server.post("/api/invite", body, token).status;
    };
    EXPECT_EQ(invite({{"email", "friend@"}}), 400);
    EXPECT_EQ(invite({{"email", "a@b.co\r\nBcc: c@d.co"}}), 400);
    EXPECT_EQ(invite({{"email", "a@b.co"}, {"fromName", "Ann\r\nBcc: c@d.co"}}), 400);
    EXPECT_EQ(invite({{"email", "one@example.org"}, {"fromName", "Ann Lee"}}), 200);
    EXPECT_EQ(invite({{"email", "two@example.org"}}), 200);
    EXPECT_EQ(invite({{"email", "three@example.org"}}), 429);
    // The limit is per installation.
    EXPECT_EQ(server
                  .post("/api/invite", Json{{"email", "four@example.org"}},
                        server.registerDevice("DEVICE-B"))
                  .status,
              200);
    EXPECT_EQ(server.query("SELECT group_concat(email || '/' || ifnull(from_name, '-'), ' ') "
                           "FROM invitations WHERE device = 'DEVICE-A'"),
              "one@example.org/Ann Lee two@example.org/-");
}

TEST_F(BackendServerTest, InsightsNeedThreeSamplesWithWordsAndHaveTheAgreedShape)
{
    const std::string token = server.registerDevice("DEVICE-A");
    const auto insights = [&](const Json& samples) {
        return server.post("/api/insights", Json{{"samples", samples}}, token);
    };
    EXPECT_EQ(insights(Json::array({"one two three", "four five six"})).status, 422);
    EXPECT_EQ(insights(Json::array({"one two three", "", "  ", "four five six"})).status, 422);
    EXPECT_EQ(insights("not a list").status, 400);
    EXPECT_EQ(insights(Json::array({"a b c", 5, "d e f"})).status, 400);

    const auto reply = insights(Json::array(
        {"Um, the report is done.", "I really really like it.", "Send it to the team today."}));
    ASSERT_EQ(reply.status, 200);
    const Json& body = reply.body;
    EXPECT_TRUE(body["summary"].is_string());
    EXPECT_TRUE(body["strengths"].is_array());
    for (const auto& strength : body["strengths"]) {
        EXPECT_TRUE(strength.is_string());
    }
    ASSERT_FALSE(body["suggestions"].empty());
    for (const auto& [list, second] : {std::pair{"suggestions", "detail"}, {"resources", "why"}}) {
        for (const auto& item : body[list]) {
            EXPECT_TRUE(item["title"].is_string() && item[second].is_string()) << item;
        }
    }
}

TEST_F(BackendServerTest, SummaryAndOnboardingReports)
{
    const std::string token = server.registerDevice("DEVICE-A");
    const auto summary = server.post(
        "/api/summary", Json{{"texts", {"Budget review.", "Budget call."}}, {"period", "month"}},
        token);
    EXPECT_EQ(summary.status, 200);
    EXPECT_TRUE(summary.body["summary"].is_string());
    EXPECT_EQ(
        server.post("/api/summary", Json{{"texts", Json::array()}, {"period", "decade"}}, token)
            .status,
        400);
    EXPECT_EQ(server.post("/api/summary", Json{{"period", "week"}}, token).status, 400);

    EXPECT_EQ(server.post("/api/onboarded", Json{{"source", "friend"}}, token).status, 200);
    EXPECT_EQ(server.query("SELECT source FROM onboarding WHERE device = 'DEVICE-A'"), "friend");
    // The client sends no body at all, not even a Content-Length, when there is no source.
    EXPECT_TRUE(server
                    .sendRaw("POST /api/onboarded HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: "
                             "Bearer " +
                             token + "\r\nConnection: close\r\n\r\n")
                    .starts_with("HTTP/1.1 200 "));
    EXPECT_EQ(server.query("SELECT ifnull(source, 'none') FROM onboarding"), "none");
    EXPECT_EQ(server.post("/api/onboarded", Json{{"source", 3}}, token).status, 400);
}

} // namespace
