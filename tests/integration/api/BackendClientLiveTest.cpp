#include "fakes/ApiClientHarness.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QCoroTask>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

// The reference backend on a free loopback port, with its own database, for one test.
class RunningBackend
{
public:
    explicit RunningBackend(int inviteLimit)
    {
        m_process.setProgram(QString::fromUtf8(MURMO_BACKEND_BINARY));
        m_process.setArguments({u"--address"_s, u"127.0.0.1"_s, u"--port"_s, u"0"_s, u"--workers"_s,
                                u"1"_s, u"--invite-limit"_s, QString::number(inviteLimit),
                                u"--database"_s, m_dir.filePath(u"backend.sqlite3"_s)});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        const QRegularExpression listening(u"listening on (http://\\S+)"_s);
        QByteArray printed;
        waitUntil([&] {
            printed += m_process.readAllStandardOutput();
            const auto match = listening.match(QString::fromUtf8(printed));
            if (match.hasMatch())
                m_url = QUrl(match.captured(1));
            return m_url.isValid() || m_process.state() == QProcess::NotRunning;
        });
    }
    ~RunningBackend()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }

    QUrl url() const { return m_url; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QUrl m_url;
};

// Speech as a person would hear it, made with a voice the recogniser understands.
QByteArray spokenWav(const QString& text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"speech.wav"_s);
    QProcess::execute(u"flite"_s, {u"-voice"_s, u"slt"_s, u"-t"_s, text, u"-o"_s, path});
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct WithBackend
{
    RunningBackend backend{2};
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
