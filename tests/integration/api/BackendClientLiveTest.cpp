#include "fakes/ApiClientHarness.h"
#include "support/RunningBackend.h"

#include <QTemporaryDir>

#include <QCoroTask>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using murmo::test::RunningBackend;
using murmo::test::spokenWav;

namespace {

struct WithBackend
{
    QTemporaryDir dir;
    RunningBackend backend{dir.filePath(u"backend.sqlite3"_s), {u"--invite-limit"_s, u"2"_s}};
};

class BackendClientLiveTest : public testing::Test,
                              protected WithBackend,
                              protected ApiClientHarness
{
protected:
    BackendClientLiveTest()
        : ApiClientHarness(backend.url())
    {}
};

TEST_F(BackendClientLiveTest, RegistersAndTurnsSpeechIntoText)
{
    ASSERT_TRUE(backend.url().isValid()) << "murmo-backend did not start";
    const QByteArray wav = spokenWav(u"Please send the quarterly report to the finance team."_s);
    ASSERT_GT(wav.size(), 44);

    const DictateResult result = run(api.dictate(wav, u"wav"_s, true));
    EXPECT_FALSE(preferences.token().isEmpty()) << "registered on the way";
    ASSERT_TRUE(std::holds_alternative<DictationResponse>(result))
        << qPrintable(std::get<ApiError>(result).description());
    const DictationResponse& response = std::get<DictationResponse>(result);
    const QString text = response.text.toLower();
    int heard = 0;
    for (const QString& word : {u"send"_s, u"report"_s, u"finance"_s, u"team"_s})
        heard += text.contains(word);
    EXPECT_GE(heard, 3) << qPrintable(response.text);
    EXPECT_FALSE(response.raw.isEmpty());
}

TEST_F(BackendClientLiveTest, InvitationsStopAtTheDailyLimit)
{
    ASSERT_TRUE(backend.url().isValid()) << "murmo-backend did not start";
    account.name = u"Ada Lovelace"_s;
    EXPECT_EQ(run(api.sendInvite(u"not an address"_s)), InviteResult::invalid);
    EXPECT_EQ(run(api.sendInvite(u"one@example.org"_s)), InviteResult::sent);
    EXPECT_EQ(run(api.sendInvite(u"two@example.org"_s)), InviteResult::sent);
    EXPECT_EQ(run(api.sendInvite(u"three@example.org"_s)), InviteResult::rateLimited);
}

} // namespace
