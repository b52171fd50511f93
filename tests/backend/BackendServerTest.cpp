#include <gtest/gtest.h>
#include <httplib.h>
#include <iostream>

#include "Base64.h"
#include "FileBytes.h"
#include "ServerHarness.h"
#include "SpeechEngine.h"
#include "TcpClient.h"
#include "WavFile.h"

namespace {

using Json = nlohmann::json;

// Answers with a fixed hypothesis and remembers how much audio it was given.
class FakeEngine : public SpeechEngine
{
public:
    std::string transcribe(const Speech& speech) override
    {
        heardSamples = speech.samples.size();
        heardLanguage = speech.language;
        heardStyle = speech.style;
        return hypothesis;
    }

    std::string hypothesis = "hello world";
    std::size_t heardSamples = 0;
    std::optional<std::string> heardLanguage;
    std::optional<std::string> heardStyle;
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

BackendServer::Settings testSettings()
{
    BackendServer::Settings settings;
    settings.invites = {2, 2};
    settings.registrationsPerAddressPerHour = 100;
    return settings;
}

class BackendServerTest : public testing::Test
{
protected:
    FakeEngine engine;
    ServerHarness server{engine, testSettings(), std::chrono::seconds(5)};
};

TEST_F(BackendServerTest, EachRegistrationIssuesANewTokenAndKeepsTheEarlierOnes)
{
    const std::string first = server.registerDevice("DEVICE-A");
    const std::string second = server.registerDevice("DEVICE-A");
    EXPECT_EQ(first.size(), 64u);
    EXPECT_NE(second, first) << "knowing a device id must not be enough to get its token";
    for (const std::string& token : {first, second}) {
        EXPECT_EQ(server.post("/api/onboarded", Json::object(), token).status, 200);
    }
    EXPECT_EQ(server.query("SELECT COUNT(*) FROM tokens WHERE device = 'DEVICE-A'"), "2");
    const std::string stored = fileBytes(server.database());
    EXPECT_EQ(stored.find(first), std::string::npos) << "a token is stored in clear";
    EXPECT_EQ(stored.find(second.substr(16)), std::string::npos) << "a token is stored in clear";
    // The client accepts only replies whose members are all texts.
    const auto reply = server.post("/api/register", Json{{"device", "DEVICE-B"}});
    ASSERT_EQ(reply.body.size(), 1u);
    EXPECT_EQ(reply.text("token").size(), 64u);
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
    EXPECT_EQ(std::tuple(engine.heardLanguage, engine.heardStyle),
              std::tuple(std::nullopt, std::nullopt));
    // Whether the language can be heard is the engine's to say.
    Json withLanguage = dictation(WavFile::tone(0.5, 16000, 1));
    withLanguage["lang"] = "de";
    withLanguage["style"] = "formal";
    EXPECT_EQ(server.post("/api/dictate", withLanguage, token).status, 200);
    EXPECT_EQ(std::tuple(engine.heardLanguage, engine.heardStyle),
              std::tuple(std::optional<std::string>("de"), std::optional<std::string>("formal")));
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
        Json{{"audio", Base64::encode(wav)}, {"ext", "wav"}, {"lang", "en-US"}}.dump(),
        Json{{"audio", Base64::encode(wav)}, {"ext", "wav"}, {"lang", "EN"}}.dump(),
        Json{{"audio", Base64::encode(wav)}, {"ext", "wav"}, {"style", std::string(5000, 'x')}}
            .dump(),
        Json{{"audio", Json::array({Base64::encode(wav)})}, {"ext", "wav"}}.dump(),
        Json{{"audio", Base64::encode(wav)}, {"ext", {{"wav", "wav"}}}}.dump(),
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

std::string head(const std::string& path, std::size_t contentLength, const std::string& token)
{
    return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" +
           (token.empty() ? "" : "Authorization: Bearer " + token + "\r\n") +
           "Content-Length: " + std::to_string(contentLength) + "\r\n\r\n";
}

TEST_F(BackendServerTest, TokenAndSizeAreCheckedBeforeTheBodyIsRead)
{
    const std::string token = server.registerDevice("DEVICE-A");
    constexpr std::size_t recording = 49 * 1024 * 1024;
    // Only the head is sent: an answer proves the server did not wait for the body.
    for (const auto& [path, length, withToken, status] :
         {std::tuple{"/api/dictate", recording, std::string(), "401"},
          {"/api/dictate", recording, std::string("wrong"), "401"},
          {"/api/dictate", std::size_t{51 * 1024 * 1024}, token, "413"},
          {"/api/register", std::size_t{1024 * 1024}, std::string(), "413"}}) {
        TcpClient connection(server.port());
        connection.send(head(path, length, withToken));
        EXPECT_TRUE(connection.receive(std::chrono::seconds(10))
                        .starts_with(std::string("HTTP/1.1 ") + status))
            << path << " " << length;
    }

    // The harness caps recordings at 5 s.
    const auto tooLong =
        server.post("/api/dictate", dictation(WavFile::tone(6.0, 16000, 1)), token);
    EXPECT_EQ(tooLong.status, 413);
    EXPECT_TRUE(isErrorReply(tooLong));

    // A chunked upload declares no length beforehand; it is held to the same limit as it arrives.
    const auto postChunked = [&](const std::string& chunk, int count) {
        httplib::Client client("127.0.0.1", server.port());
        client.set_write_timeout(std::chrono::seconds(60));
        return client.Post(
            "/api/dictate", {{"Authorization", "Bearer " + token}},
            [&, sent = 0](std::size_t, httplib::DataSink& sink) mutable {
                sink.write(chunk.data(), chunk.size());
                if (++sent == count) {
                    sink.done();
                }
                return true;
            },
            "application/json");
    };
    const auto small = postChunked(dictation(WavFile::tone(0.5, 16000, 1)).dump(), 1);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->status, 200);
    const auto huge = postChunked(std::string(1024 * 1024, ' '), 51);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
}

TEST_F(BackendServerTest, ARequestIsAnsweredWhileFiftySlowOrIdleConnectionsAreOpen)
{
    std::vector<std::unique_ptr<TcpClient>> crowd;
    for (int i = 0; i < 50; ++i) {
        crowd.push_back(
            std::make_unique<TcpClient>(server.port(), "127.0.0." + std::to_string(2 + i % 5)));
        if (i % 2 == 0) {
            crowd.back()->send("POST /api/register HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Le");
        }
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.registerDevice("DEVICE-A").size(), 64u);
    std::cout << "registered in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              << " s beside 50 slow connections\n";
    for (const auto& connection : crowd) {
        EXPECT_FALSE(connection->closedWithin(std::chrono::milliseconds(0)))
            << "the registration waited until the crowd was cut off";
    }
}

TEST(BackendServerLimitsTest, SlowHeadsAreCutOffAndOneAddressHoldsOnlyItsShare)
{
    FakeEngine engine;
    BackendServer::Settings settings = testSettings();
    settings.http.headTime = std::chrono::seconds(1);
    settings.http.connectionsPerAddress = 4;
    ServerHarness server(engine, settings);

    // A byte every 100 ms never lets the connection fall silent, but the head is still late.
    TcpClient trickle(server.port(), "127.0.0.2");
    const std::string request = head("/api/register", 20, {});
    bool cutOff = false;
    for (std::size_t i = 0; i < request.size() && !cutOff; ++i) {
        trickle.send(request.substr(i, 1));
        cutOff = trickle.closedWithin(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(cutOff);

    std::vector<std::unique_ptr<TcpClient>> greedy;
    for (int i = 0; i < 6; ++i) {
        greedy.push_back(std::make_unique<TcpClient>(server.port(), "127.0.0.3"));
    }
    int refused = 0;
    for (const auto& connection : greedy) {
        refused += connection->receive(std::chrono::seconds(10)).starts_with("HTTP/1.1 503 ");
    }
    EXPECT_EQ(refused, 2);
}

TEST_F(BackendServerTest, InvitesAreCheckedQueuedAndLimitedPerSenderAndRecipient)
{
    const std::string token = server.registerDevice("DEVICE-A");
    const auto invite = [&](const Json& body, const std::string& from) {
        return server.post("/api/invite", body, from).status;
    };
    EXPECT_EQ(invite({{"email", "friend@"}}, token), 400);
    EXPECT_EQ(invite({{"email", "a@b.co\r\nBcc: c@d.co"}}, token), 400);
    EXPECT_EQ(
        invite({{"email", "one@example.org"}, {"fromName", "Ann\r\nBcc: c@d.co\u0085"}}, token),
        200);
    EXPECT_EQ(invite({{"email", "friend@example.org"}, {"fromName", "\t "}}, token), 200);
    const auto refused = server.post("/api/invite", Json{{"email", "two@example.org"}}, token);
    EXPECT_EQ(refused.status, 429);
    EXPECT_TRUE(isErrorReply(refused));
    EXPECT_EQ(server.query("SELECT group_concat(email || '/' || ifnull(from_name, '-'), ' ') "
                           "FROM invitations WHERE device = 'DEVICE-A'"),
              "one@example.org/Ann  Bcc: c@d.co friend@example.org/-");

    // New installations do not buy more invitations for one address, in any letter case.
    std::string family;
    for (int i = 0; i < 60; ++i) {
        family += "\U0001F468\u200D\U0001F469\u200D\U0001F467"; // one character each
    }
    EXPECT_EQ(invite({{"email", "Friend@Example.org"}, {"fromName", family}},
                     server.registerDevice("DEVICE-B")),
              200);
    EXPECT_EQ(invite({{"email", "friend@example.org"}}, server.registerDevice("DEVICE-C")), 429);
    EXPECT_EQ(server.query("SELECT from_name FROM invitations WHERE device = 'DEVICE-B'"), family);
}

TEST(BackendServerLimitsTest, RegistrationsAreLimitedPerClientAddress)
{
    FakeEngine engine;
    BackendServer::Settings settings = testSettings();
    settings.registrationsPerAddressPerHour = 2;
    ServerHarness server(engine, settings);
    server.registerDevice("DEVICE-A");
    server.registerDevice("DEVICE-B");
    const auto refused = server.post("/api/register", Json{{"device", "DEVICE-C"}});
    EXPECT_EQ(refused.status, 429);
    EXPECT_TRUE(isErrorReply(refused));

    TcpClient elsewhere(server.port(), "127.0.0.2");
    const std::string body = Json{{"device", "DEVICE-C"}}.dump();
    elsewhere.send(head("/api/register", body.size(), {}) + body);
    EXPECT_TRUE(elsewhere.receive(std::chrono::seconds(10)).starts_with("HTTP/1.1 200 "));
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
    for (const char* member : {"summary", "strengths", "suggestions", "resources"}) {
        ASSERT_TRUE(body.contains(member)) << member;
    }
    EXPECT_TRUE(body["summary"].is_string());
    EXPECT_TRUE(body["strengths"].is_array());
    for (const auto& strength : body["strengths"]) {
        EXPECT_TRUE(strength.is_string());
    }
    ASSERT_FALSE(body["suggestions"].empty());
    for (const auto& [list, second] : {std::pair{"suggestions", "detail"}, {"resources", "why"}}) {
        for (const auto& item : body[list]) {
            EXPECT_TRUE(item.is_object() && item.value("title", Json()).is_string() &&
                        item.value(second, Json()).is_string())
                << item;
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
    EXPECT_FALSE(summary.text("summary").empty());
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
