#include "integration/history/ApacheWebDav.h"

#include "fakes/FakeScheduler.h"
#include "fakes/MemoryPreferencesStore.h"
#include "history/HistoryCodec.h"
#include "history/HistoryStore.h"
#include "platform/linux/WebDavCloudDatabase.h"
#include "preferences/Preferences.h"
#include "support/WaitUntil.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>

#include <QCoroSignal>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using murmo::test::waitUntil;

namespace {

HistoryItem record(const QString& text, double createdAt)
{
    return {QUuid::createUuid(), text, text, createdAt, {}, {}, {}, {}, 1.5, u"mac"_s};
}

// Holds the saves of two devices until both have fetched, so that both save over the same
// version of the record and exactly one of them loses the race. The saves then go one at a
// time: mod_dav checks If-Match and writes without a lock, so two PUTs that overlap can both
// pass the check, which is the server's race and not the one under test.
class StartingLine : public QObject
{
    Q_OBJECT

public:
    void fetched()
    {
        if (++m_fetches == 2)
            Q_EMIT open();
    }
    QCoro::Task<> takeTurn()
    {
        if (m_fetches < 2)
            co_await qCoro(this, &StartingLine::open);
        while (m_saving)
            co_await qCoro(this, &StartingLine::turnEnded);
        m_saving = true;
    }
    void endTurn()
    {
        m_saving = false;
        Q_EMIT turnEnded();
    }

Q_SIGNALS:
    void open();
    void turnEnded();

private:
    int m_fetches = 0;
    bool m_saving = false;
};

// The WebDAV database as one device sees it, with what came back from each save.
class ObservedCloud final : public CloudDatabase
{
public:
    explicit ObservedCloud(CloudDatabase& inner)
        : m_inner(inner)
    {}

    QCoro::Task<AccountStatus> accountStatus() override { return m_inner.accountStatus(); }
    QCoro::Task<FetchResult> fetchRecord(QString recordName) override
    {
        FetchResult result = co_await m_inner.fetchRecord(recordName);
        if (race)
            race->fetched();
        co_return result;
    }
    QCoro::Task<std::optional<CloudError>> saveRecord(CloudRecord record) override
    {
        if (race)
            co_await race->takeTurn();
        auto error = co_await m_inner.saveRecord(std::move(record));
        saves.append(error ? int(error->code) : 0);
        if (race)
            race->endTurn();
        co_return error;
    }

    StartingLine* race = nullptr;
    QList<int> saves; // 0 for success, else the error code

private:
    CloudDatabase& m_inner;
};

// One desktop: its own history file and preferences, the real WebDAV database, virtual time for
// the push delay.
struct Device
{
    explicit Device(const WebDavCollection& folder)
        : webDav(network, time, folder, directory.path())
    {}
    explicit Device(const QUrl& openFolder)
        : Device(WebDavCollection{openFolder, {}, {}})
    {}

    void dictate(const HistoryItem& item)
    {
        history.prepend(item);
        history.save();
        history.schedulePush();
    }
    // Lets the push delay pass and waits for the push's save to come back.
    bool pushed()
    {
        time.advance(HistoryStore::pushDelay);
        return waitUntil([&] { return !cloud.saves.isEmpty(); }, 10s);
    }

    QTemporaryDir directory;
    FakeScheduler time;
    MemoryPreferencesStore preferencesStore;
    Preferences preferences{preferencesStore};
    QNetworkAccessManager network;
    WebDavCloudDatabase webDav;
    ObservedCloud cloud{webDav};
    HistoryStore history{{time, time, preferences, cloud,
                          directory.filePath(u"Murmo/murmo-history.json"_s), directory.path()}};
};

QList<QString> texts(const QList<HistoryItem>& items)
{
    QList<QString> result;
    for (const HistoryItem& item : items)
        result.append(item.text);
    return result;
}

class HistoryCloudLiveTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.isRunning()) << qPrintable(server.errorLog()); }

    // Sends one raw request, as another program would.
    std::pair<int, QByteArray> request(const QByteArray& verb, const QString& path,
                                       const QByteArray& body = {})
    {
        QNetworkRequest http(server.root().resolved(QUrl(path)));
        const std::unique_ptr<QNetworkReply> reply(network.sendCustomRequest(http, verb, body));
        waitUntil([&] { return reply->isFinished(); }, 10s);
        return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->readAll()};
    }
    QJsonObject storedRecord(const QString& path)
    {
        return QJsonDocument::fromJson(request("GET", path).second).object();
    }
    static HistoryBackup payload(const QJsonObject& record)
    {
        const QByteArray base64 =
            record["fields"_L1]["payload"_L1]["value"_L1].toString().toLatin1();
        return HistoryCodec::decodePayload(QByteArray::fromBase64(base64))
            .value_or(HistoryBackup{-1, 0, {}, {}});
    }

    ApacheWebDav server;
    QNetworkAccessManager network;
};

TEST_F(HistoryCloudLiveTest, TwoDevicesPushingAtOnceKeepEverythingButTheDeleted)
{
    Device laptop(server.root()), desktop(server.root());
    const HistoryItem early = record(u"early"_s, 100), doomed = record(u"doomed"_s, 200);
    laptop.dictate(early);
    laptop.dictate(doomed);
    ASSERT_TRUE(laptop.pushed());
    desktop.history.pull();
    ASSERT_TRUE(waitUntil([&] { return desktop.history.items().size() == 2; }, 10s));

    StartingLine race;
    laptop.cloud.race = desktop.cloud.race = &race;
    laptop.cloud.saves.clear();
    laptop.history.remove(doomed.id);
    laptop.dictate(record(u"from the laptop"_s, 300));
    desktop.dictate(record(u"from the desktop"_s, 400));
    laptop.time.advance(HistoryStore::pushDelay);
    ASSERT_TRUE(desktop.pushed());
    ASSERT_TRUE(waitUntil(
        [&] { return laptop.cloud.saves.size() + desktop.cloud.saves.size() == 3; }, 10s));

    // One save went through; the other was refused as changed, folded in the winner and won.
    QList<int> outcomes = laptop.cloud.saves + desktop.cloud.saves;
    std::sort(outcomes.begin(), outcomes.end());
    EXPECT_EQ(outcomes, (QList<int>{0, 0, int(CloudError::Code::serverRecordChanged)}));
    const HistoryBackup stored = payload(storedRecord(u"murmo-history.record.json"_s));
    const QList<QString> expected{u"from the desktop"_s, u"from the laptop"_s, u"early"_s};
    EXPECT_EQ(texts(stored.history), expected);
    EXPECT_EQ(stored.deleted, QList{doomed.id});

    for (Device* device : {&laptop, &desktop})
        device->history.pull();
    EXPECT_TRUE(waitUntil(
        [&] {
            return texts(laptop.history.items()) == expected &&
                   texts(desktop.history.items()) == expected;
        },
        10s));
}

TEST_F(HistoryCloudLiveTest, RecordWrittenByThePhoneLendsItsTokenAndKeepsItsFields)
{
    const HistoryItem fromPhone = record(u"from the phone"_s, 50);
    const QByteArray list =
        "[" +
        HistoryCodec::encode(HistoryBackup{2, 0, {fromPhone}, {}})->split('[')[1].split(']')[0] +
        "]";
    const QByteArray phoneRecord =
        R"({"recordType":"History","recordName":"murmo-history","fields":{)"
        R"("token":{"type":"text","value":"phone-token"},"streak":{"type":"number","value":7},)"
        R"("payload":{"type":"asset","value":")" +
        list.toBase64() + R"("}}})";
    ASSERT_EQ(request("PUT", u"murmo-history.record.json"_s, phoneRecord).first, 201);

    Device desktop(server.root());
    desktop.history.pull();
    ASSERT_TRUE(waitUntil([&] { return desktop.history.items().size() == 1; }, 10s));
    EXPECT_EQ(desktop.history.items().first(), fromPhone);
    EXPECT_EQ(desktop.preferences.token(), u"phone-token"_s);

    ASSERT_TRUE(desktop.pushed());
    EXPECT_EQ(desktop.cloud.saves, QList{0});
    const QJsonObject stored = storedRecord(u"murmo-history.record.json"_s);
    EXPECT_EQ(stored["fields"_L1]["token"_L1]["value"_L1].toString(), u"phone-token"_s);
    EXPECT_EQ(stored["fields"_L1]["streak"_L1]["value"_L1].toInt(), 7);
    EXPECT_EQ(stored["fields"_L1]["modified"_L1]["type"_L1].toString(), u"date"_s);
    EXPECT_EQ(payload(stored).history, QList{fromPhone});
}

TEST_F(HistoryCloudLiveTest, MissingFolderIsMadeByTheFirstPush)
{
    Device desktop(server.root().resolved(QUrl(u"Murmo/"_s)));
    EXPECT_EQ(QCoro::waitFor(desktop.webDav.accountStatus()),
              CloudDatabase::AccountStatus::noAccount);
    desktop.dictate(record(u"first"_s, 1));
    ASSERT_TRUE(desktop.pushed());
    EXPECT_EQ(desktop.cloud.saves, QList{0});
    EXPECT_EQ(QCoro::waitFor(desktop.webDav.accountStatus()),
              CloudDatabase::AccountStatus::available);
    EXPECT_EQ(texts(payload(storedRecord(u"Murmo/murmo-history.record.json"_s)).history),
              QList{u"first"_s});
}

class HistoryCloudLoginTest : public testing::Test
{
protected:
    ApacheWebDav server{ApacheWebDav::Login{u"ada"_s, u"s3cret"_s}};
};

TEST_F(HistoryCloudLoginTest, TheRightLoginOpensTheFolderAndAWrongOneDoesNot)
{
    ASSERT_TRUE(server.isRunning()) << qPrintable(server.errorLog());
    Device desktop(WebDavCollection{server.root(), u"ada"_s, u"s3cret"_s});
    EXPECT_EQ(QCoro::waitFor(desktop.webDav.accountStatus()),
              CloudDatabase::AccountStatus::available);
    desktop.dictate(record(u"private"_s, 1));
    ASSERT_TRUE(desktop.pushed());
    EXPECT_EQ(desktop.cloud.saves, QList{0});

    Device stranger(WebDavCollection{server.root(), u"ada"_s, u"wrong"_s});
    EXPECT_EQ(QCoro::waitFor(stranger.webDav.accountStatus()),
              CloudDatabase::AccountStatus::noAccount);
    const auto fetched = QCoro::waitFor(stranger.webDav.fetchRecord(u"murmo-history"_s));
    ASSERT_TRUE(std::holds_alternative<CloudError>(fetched));
    EXPECT_EQ(std::get<CloudError>(fetched).code, CloudError::Code::notAuthenticated);
}

} // namespace

#include "HistoryCloudLiveTest.moc"
