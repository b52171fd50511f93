#include "api/BackendClient.h"

#include "fakes/ApiClientHarness.h"
#include "fakes/ScriptedHttpServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QRegularExpression>

#include <QCoroSignal>
#include <QCoroTask>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Mode = ScriptedHttpServer::Reply::Mode;

namespace {

const QByteArray registerPath = "/api/register";
const QByteArray dictatePath = "/api/dictate";
const QByteArray okDictation = R"({"text":"Hello.","raw":"hello","category":"note"})";

QJsonObject json(const QByteArray& body)
{
    return QJsonDocument::fromJson(body).object();
}

ApiError errorOf(const DictateResult& result)
{
    const auto* error = std::get_if<ApiError>(&result);
    return error ? *error : ApiError{ApiError::Kind::cancelled, {}, u"no error"_s};
}

struct WithScriptedServer
{
    ScriptedHttpServer server;
};

class BackendClientTest : public testing::Test,
                          protected WithScriptedServer,
                          protected ApiClientHarness
{
protected:
    BackendClientTest()
        : ApiClientHarness(server.url())
    {}

    // Every request a test sends must meet the reply it scripted: one sent twice would not.
    void TearDown() override { EXPECT_EQ(server.unscripted, 0) << "unexpected requests"; }

    DictateResult dictate(const QByteArray& audio = "audio")
    {
        return run(api.dictate(audio, u"m4a"_s, true));
    }
    void registered() { preferences.setToken(u"old-token"_s); }

    // Starts a request on a silent server and checks that it ends exactly after `timeout` of
    // virtual time.
    template<class T>
    void expectTimeout(QCoro::Task<T> pending, std::chrono::milliseconds timeout)
    {
        QCoro::waitFor(qCoro(&server, &ScriptedHttpServer::requestReceived));
        time.advance(timeout - 1ms);
        QCoreApplication::processEvents();
        EXPECT_FALSE(pending.isReady()) << timeout.count();
        time.advance(1ms);
        run(std::move(pending));
    }
};

TEST_F(BackendClientTest, RegistersOnceWithAStableDeviceId)
{
    server.script(registerPath, 200, R"({"token":"t-1"})");
    run(api.registerInstallation());
    run(api.registerInstallation()); // a stored token means registered: nothing is sent

    ASSERT_EQ(server.received.size(), 1);
    const auto& request = server.received.front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    EXPECT_FALSE(request.headers.contains("authorization"));
    const QString device = json(request.body).value(u"device"_s).toString();
    EXPECT_TRUE(QRegularExpression(u"^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"_s)
                    .match(device)
                    .hasMatch())
        << qPrintable(device);
    EXPECT_EQ(preferences.device(), device);
    EXPECT_EQ(preferences.token(), u"t-1"_s);
}

TEST_F(BackendClientTest, RegistrationIgnoresRepliesWithoutAUsableToken)
{
    const std::pair<int, QByteArray> replies[] = {
        {200, "{}"},       {200, R"({"token":5})"},   {200, R"({"token":"t","plan":1})"},
        {200, "not json"}, {500, R"({"token":"t"})"}, {401, ""},
    };
    for (const auto& [status, body] : replies) {
        server.script(registerPath, status, body);
        run(api.registerInstallation());
        EXPECT_EQ(preferences.token(), QString()) << status << body.constData();
    }
    const auto requests = server.receivedAt(registerPath);
    ASSERT_EQ(requests.size(), std::size(replies));
    EXPECT_EQ(json(requests.back().body), json(requests.front().body)) << "same device each time";
}

TEST_F(BackendClientTest, DictationSendsAudioAndOnlyUsableLanguageAndStyle)
{
    registered();
    const QString longStyle = u"e\u0301"_s.repeated(700); // 700 characters, 1400 code units
    struct Case
    {
        QString speakLang;
        QString style;
        std::optional<QString> lang;
        std::optional<QString> sentStyle;
    };
    const Case cases[] = {
        {u"EN"_s, {}, u"en"_s, std::nullopt},
        {u"en-US"_s, u" \n\t "_s, std::nullopt, std::nullopt},
        {{}, u"  Short sentences.\n"_s, std::nullopt, u"Short sentences."_s},
        {u"ru"_s, u"\n"_s + longStyle, u"ru"_s, u"e\u0301"_s.repeated(600)},
    };
    for (const Case& c : cases) {
        preferences.setSpeakLang(c.speakLang);
        store.setValue(u"murmo.mac.style"_s, c.style);
        server.script(dictatePath, 200, okDictation);
        const DictateResult result = dictate(QByteArray::fromHex("0001feff20617564696f"));
        ASSERT_TRUE(std::holds_alternative<DictationResponse>(result));

        const auto request = server.receivedAt(dictatePath).back();
        EXPECT_EQ(request.headers.value("authorization"), "Bearer old-token");
        const QJsonObject body = json(request.body);
        EXPECT_EQ(body.value(u"audio"_s).toString(), u"AAH+/yBhdWRpbw=="_s);
        EXPECT_EQ(body.value(u"ext"_s).toString(), u"m4a"_s);
        EXPECT_EQ(body.contains(u"lang"_s), c.lang.has_value());
        EXPECT_EQ(body.value(u"lang"_s).toString(), c.lang.value_or(QString()));
        EXPECT_EQ(body.value(u"style"_s).toString(), c.sentStyle.value_or(QString()));
        EXPECT_EQ(body.contains(u"style"_s), c.sentStyle.has_value());
        EXPECT_EQ(body.size(), 2 + c.lang.has_value() + c.sentStyle.has_value());
    }
}

TEST_F(BackendClientTest, DecodesTheDictationReplyStrictly)
{
    registered();
    server.script(dictatePath, 200, R"({"text":"Hi.","raw":"hi","original":null,"extra":[1]})");
    const auto response = std::get<DictationResponse>(dictate());
    EXPECT_EQ(response, (DictationResponse{u"Hi."_s, u"hi"_s, std::nullopt, std::nullopt}));

    for (const QByteArray& body :
         {QByteArray(R"({"text":"Hi."})"), QByteArray(R"({"text":"Hi.","raw":7})"),
          QByteArray(R"({"text":"Hi.","raw":"hi","category":3})"), QByteArray("<html>")}) {
        server.script(dictatePath, 200, body);
        EXPECT_EQ(errorOf(dictate()).kind, ApiError::Kind::decoding) << body.constData();
    }
}

TEST_F(BackendClientTest, StatusCodesBecomeFailures)
{
    registered();
    const std::pair<ScriptedHttpServer::Reply, std::optional<ApiFailure>> cases[] = {
        {{422, {}}, ApiFailure::noSpeech},
        {{500, {}}, ApiFailure::server},
        {{404, {}}, ApiFailure::server},
        {{200, "SSH-2.0-x\r\n", Mode::garbage}, ApiFailure::server},
    };
    for (const auto& [reply, failure] : cases) {
        server.script(dictatePath, reply);
        const ApiError error = errorOf(dictate());
        EXPECT_EQ(error.kind, ApiError::Kind::failure) << reply.status;
        EXPECT_EQ(error.failure, failure) << reply.status;
    }
    server.script(dictatePath, 422);
    EXPECT_EQ(errorOf(dictate()).description(), u"Didn't catch any speech — try again."_s);
    server.script(dictatePath, 500);
    EXPECT_EQ(errorOf(dictate()).description(), u"Murmo had a hiccup. Please try again."_s);
}

TEST_F(BackendClientTest, UnauthorisedDictationReregistersExactlyOnce)
{
    registered();
    preferences.setDevice(u"DEVICE-1"_s);
    server.script(dictatePath, 401);
    server.script(registerPath, 200, R"({"token":"new-token"})");
    server.script(dictatePath, 200, okDictation);
    EXPECT_TRUE(std::holds_alternative<DictationResponse>(dictate()));
    const auto dictations = server.receivedAt(dictatePath);
    ASSERT_EQ(dictations.size(), 2);
    EXPECT_EQ(dictations[1].headers.value("authorization"), "Bearer new-token");
    EXPECT_EQ(dictations[1].body, dictations[0].body);
    EXPECT_EQ(json(server.receivedAt(registerPath)[0].body).value(u"device"_s), u"DEVICE-1"_s);

    server.script(dictatePath, 401);
    server.script(registerPath, 200, R"({"token":"newer-token"})");
    server.script(dictatePath, 401);
    const ApiError twice = errorOf(dictate());
    EXPECT_EQ(twice.failure, ApiFailure::server);
    EXPECT_EQ(server.receivedAt(dictatePath).size(), 4) << "no third attempt";
}

TEST_F(BackendClientTest, NoTokenWhenReregistrationFails)
{
    registered();
    server.script(dictatePath, 401);
    server.script(registerPath, 503);
    server.script(registerPath, 503);
    const ApiError error = errorOf(dictate());
    EXPECT_EQ(error.failure, ApiFailure::noToken);
    EXPECT_EQ(error.description(), u"Couldn't connect to Murmo. Check your internet."_s);
    EXPECT_EQ(server.receivedAt(registerPath).size(), 2);
    EXPECT_EQ(server.receivedAt(dictatePath).size(), 1);
}

TEST_F(BackendClientTest, OfflineFailsWithoutTokenOrWithTheTransportError)
{
    const QUrl nowhere = ScriptedHttpServer().url(); // its port is closed again at once
    BackendClient offline{transport, preferences, account, nowhere};

    EXPECT_EQ(errorOf(run(offline.dictate("a", u"wav"_s, true))).failure, ApiFailure::noToken);
    registered();
    const ApiError error = errorOf(run(offline.dictate("a", u"wav"_s, true)));
    EXPECT_EQ(error.kind, ApiError::Kind::transport);
    EXPECT_FALSE(error.description().isEmpty());
}

TEST_F(BackendClientTest, EachRequestWaitsItsOwnTimeOutOfSilence)
{
    for (const char* path : {"/api/register", "/api/onboarded", "/api/invite", "/api/insights",
                             "/api/summary", "/api/dictate"}) {
        server.script(path, {200, {}, Mode::hang});
    }
    expectTimeout(api.registerInstallation(), 15s);
    EXPECT_EQ(preferences.token(), QString());
    registered();
    expectTimeout(api.reportOnboarded(u"friend"_s), 15s);
    expectTimeout(api.sendInvite(u"a@b.co"_s), 25s);
    expectTimeout(api.fetchInsights({u"a"_s}), 60s);
    expectTimeout(api.fetchSummary({u"a"_s}, u"week"_s), 60s);

    QCoro::Task<DictateResult> pending = api.dictate("a", u"m4a"_s, true);
    QCoro::waitFor(qCoro(&server, &ScriptedHttpServer::requestReceived));
    time.advance(239s);
    QCoreApplication::processEvents();
    EXPECT_FALSE(pending.isReady());
    time.advance(1s);
    const ApiError error = errorOf(run(std::move(pending)));
    EXPECT_EQ(error.kind, ApiError::Kind::transport);
    EXPECT_EQ(error.description(), u"The request timed out."_s);
}

TEST_F(BackendClientTest, APeerThatDoesNotAnswerInHttpGetsEachRequestOnce)
{
    registered();
    const QByteArray notHttp[] = {"SSH-2.0-OpenSSH_9.2p1 Debian-2\r\n",
                                  "<html><body>Bad gateway</body></html>\r\n"};
    for (const QByteArray& bytes : notHttp) {
        server.script(dictatePath, {200, bytes, Mode::garbage});
        EXPECT_EQ(errorOf(dictate()).failure, ApiFailure::server) << bytes.constData();
        server.script("/api/invite", {200, bytes, Mode::garbage});
        EXPECT_EQ(run(api.sendInvite(u"friend@example.org"_s)), InviteResult::failed);
    }
    // Hanging up without a word is the connection failing, not an answer.
    server.script(dictatePath, {200, {}, Mode::garbage});
    EXPECT_EQ(errorOf(dictate()).kind, ApiError::Kind::transport);
    EXPECT_EQ(server.receivedAt(dictatePath).size(), 3);
    EXPECT_EQ(server.receivedAt("/api/invite").size(), 2);

    preferences.setToken(QString());
    server.script(registerPath, {200, notHttp[0], Mode::garbage});
    run(api.registerInstallation());
    EXPECT_EQ(server.receivedAt(registerPath).size(), 1);
}

TEST_F(BackendClientTest, RedirectsAreNotFollowed)
{
    registered();
    ScriptedHttpServer elsewhere;
    const QByteArray location = "Location: " + elsewhere.url().toEncoded() + "/api/dictate\r\n";
    server.script(dictatePath, {307, {}, Mode::respond, location});
    EXPECT_EQ(errorOf(dictate()).failure, ApiFailure::server);
    server.script("/api/summary", {308, {}, Mode::respond, location});
    EXPECT_EQ(std::get<ApiError>(run(api.fetchSummary({u"a"_s}, u"week"_s))).failure,
              ApiFailure::server);
    EXPECT_TRUE(elsewhere.received.isEmpty()) << "the token went to another origin";
}

TEST_F(BackendClientTest, OnboardingReportSendsTheSourceOrNoBodyAtAll)
{
    registered();
    for (const std::optional<QString>& source :
         {std::optional<QString>(), std::optional<QString>(u""_s), std::optional(u"podcast"_s)}) {
        server.script("/api/onboarded", 500);
        run(api.reportOnboarded(source));
    }
    const auto sent = server.receivedAt("/api/onboarded");
    ASSERT_EQ(sent.size(), 3);
    EXPECT_TRUE(sent[0].body.isEmpty());
    EXPECT_TRUE(sent[1].body.isEmpty());
    EXPECT_EQ(json(sent[2].body), QJsonObject({{u"source"_s, u"podcast"_s}}));
    EXPECT_EQ(sent[2].headers.value("authorization"), "Bearer old-token");
}

TEST_F(BackendClientTest, InvitationResultsAndSenderName)
{
    registered();
    const std::pair<int, InviteResult> statuses[] = {{200, InviteResult::sent},
                                                     {400, InviteResult::invalid},
                                                     {429, InviteResult::rateLimited},
                                                     {401, InviteResult::failed},
                                                     {500, InviteResult::failed}};
    account.name = u" \tAda Lovelace\t "_s;
    for (const auto& [status, result] : statuses) {
        server.script("/api/invite", status);
        EXPECT_EQ(run(api.sendInvite(u"friend@example.org"_s)), result) << status;
    }
    EXPECT_EQ(
        json(server.receivedAt("/api/invite").back().body),
        QJsonObject({{u"email"_s, u"friend@example.org"_s}, {u"fromName"_s, u"Ada Lovelace"_s}}));

    account.name = u"   "_s;
    server.script("/api/invite", 200);
    run(api.sendInvite(u"a@b.c"_s));
    EXPECT_FALSE(json(server.receivedAt("/api/invite").back().body).contains(u"fromName"_s));

    account.name = u"N"_s.repeated(80);
    server.script("/api/invite", {200, "<html>", Mode::garbage});
    EXPECT_EQ(run(api.sendInvite(u"a@b.c"_s)), InviteResult::failed);
    EXPECT_EQ(json(server.receivedAt("/api/invite").back().body).value(u"fromName"_s),
              u"N"_s.repeated(60));
}

TEST_F(BackendClientTest, InsightsDecodeOrFailWithTheirOwnErrors)
{
    registered();
    server.script("/api/insights", 200, R"({"summary":"Clear.","strengths":["short"],
        "suggestions":[{"title":"Pause","detail":"Fewer fillers."}],
        "resources":[{"title":"Book","why":"Style."}],"extra":true})");
    const auto insights = std::get<Insights>(run(api.fetchInsights({u"a"_s, u"b"_s})));
    EXPECT_EQ(insights, (Insights{u"Clear."_s,
                                  {u"short"_s},
                                  {{u"Pause"_s, u"Fewer fillers."_s}},
                                  {{u"Book"_s, u"Style."_s}}}));
    EXPECT_EQ(json(server.receivedAt("/api/insights")[0].body).value(u"samples"_s).toArray(),
              (QJsonArray{u"a"_s, u"b"_s}));

    const std::pair<ScriptedHttpServer::Reply, InsightsError> failures[] = {
        {{422, {}}, InsightsError::notEnoughData},
        {{200, R"({"summary":"x","strengths":[],"suggestions":[]})"}, InsightsError::badResponse},
        {{200, R"({"summary":"x","strengths":[],"suggestions":[{"title":"t"}],"resources":[]})"},
         InsightsError::badResponse},
        {{503, {}}, InsightsError::failed},
        {{200, "<html>", Mode::garbage}, InsightsError::failed},
    };
    for (const auto& [reply, expected] : failures) {
        server.script("/api/insights", reply);
        const auto result = run(api.fetchInsights({u"a"_s}));
        ASSERT_TRUE(std::holds_alternative<InsightsError>(result)) << reply.status;
        EXPECT_EQ(std::get<InsightsError>(result), expected) << reply.body.constData();
    }
    EXPECT_EQ(describe(InsightsError::notEnoughData),
              u"Dictate at least 3 messages first, then check back."_s);
    EXPECT_EQ(describe(InsightsError::badResponse), u"Got an unexpected response. Try again."_s);
    EXPECT_EQ(describe(InsightsError::failed),
              u"Couldn't generate insights right now. Try again."_s);
}

TEST_F(BackendClientTest, SummaryReturnsTextOrServerFailure)
{
    registered();
    server.script("/api/summary", 200, R"({"summary":""})");
    EXPECT_EQ(std::get<QString>(run(api.fetchSummary({u"one"_s}, u"week"_s))), QString());
    EXPECT_EQ(json(server.receivedAt("/api/summary")[0].body),
              QJsonObject({{u"texts"_s, QJsonArray{u"one"_s}}, {u"period"_s, u"week"_s}}));

    server.script("/api/summary", 500);
    EXPECT_EQ(std::get<ApiError>(run(api.fetchSummary({}, u"all"_s))).failure, ApiFailure::server);
    server.script("/api/summary", 200, R"({"recap":"x"})");
    EXPECT_EQ(std::get<ApiError>(run(api.fetchSummary({}, u"all"_s))).kind,
              ApiError::Kind::decoding);
}

TEST_F(BackendClientTest, AnalysisWithoutTokenSendsNothing)
{
    server.script(registerPath, 503);
    server.script(registerPath, 503);
    server.script(registerPath, 503);
    server.script(registerPath, 503);
    EXPECT_EQ(std::get<ApiError>(run(api.fetchInsights({u"a"_s}))).failure, ApiFailure::noToken);
    EXPECT_EQ(std::get<ApiError>(run(api.fetchSummary({u"a"_s}, u"year"_s))).failure,
              ApiFailure::noToken);
    EXPECT_EQ(run(api.sendInvite(u"a@b.c"_s)), InviteResult::failed);
    run(api.reportOnboarded(u"x"_s));
    EXPECT_EQ(server.received.size(), 4);
    EXPECT_EQ(server.receivedAt(registerPath).size(), 4);
}

} // namespace
