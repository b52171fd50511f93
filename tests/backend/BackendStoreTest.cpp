#include <gtest/gtest.h>
#include <sqlite3.h>

#include "BackendStore.h"
#include "FileBytes.h"
#include "SqliteStatement.h"
#include "TempDirectory.h"

namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::system_clock::time_point;
using Outcome = BackendStore::InviteOutcome;

class BackendStoreTest : public testing::Test
{
protected:
    TempDirectory directory;
    std::filesystem::path path = directory.path() / "nested" / "backend.sqlite3";
    // 2024-03-01 23:59:00 UTC, a minute before the day turns.
    TimePoint now{std::chrono::seconds(1709337540)};
    BackendStore::Clock clock = [this] { return now; };
};

TEST_F(BackendStoreTest, TokensAreHashedAndLastWhileTheyAreUsed)
{
    std::string used;
    std::string unused;
    {
        BackendStore store(path, clock);
        used = store.registerDevice("DEVICE-A", "10.0.0.1", 10).value();
        unused = store.registerDevice("DEVICE-A", "10.0.0.1", 10).value();
        EXPECT_NE(used, unused);
    }
    EXPECT_EQ(fileBytes(path).find(used.substr(16)), std::string::npos);
    BackendStore store(path, clock);
    now += 89 * 24h;
    EXPECT_EQ(store.deviceForToken(used), "DEVICE-A");
    now += 2 * 24h;
    EXPECT_EQ(store.deviceForToken(used), "DEVICE-A");
    EXPECT_EQ(store.deviceForToken(unused), std::nullopt) << "unused for 91 days";
    for (const std::string& wrong :
         {std::string(), std::string("DEVICE-A"), used.substr(0, 63) + "x", used.substr(0, 16)}) {
        EXPECT_EQ(store.deviceForToken(wrong), std::nullopt) << wrong;
    }
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(BackendStoreTest, TokensOfTheFirstVersionStillWorkAndLeaveTheFile)
{
    const std::string oldToken(64, 'c');
    std::filesystem::create_directories(path.parent_path());
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    SqliteStatement::execute(db, R"sql(
        CREATE TABLE installations(device TEXT PRIMARY KEY, token TEXT NOT NULL UNIQUE,
                                   registered_at INTEGER NOT NULL);
        CREATE TABLE onboarding(device TEXT PRIMARY KEY REFERENCES installations(device),
                                source TEXT, reported_at INTEGER NOT NULL);
        INSERT INTO installations VALUES('DEVICE-A', 'cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc', 1);
        INSERT INTO onboarding VALUES('DEVICE-A', 'friend', 1);
    )sql");
    sqlite3_close(db);

    BackendStore store(path, clock);
    EXPECT_EQ(store.deviceForToken(oldToken), "DEVICE-A");
    EXPECT_TRUE(store.registerDevice("DEVICE-A", "10.0.0.1", 10));
    EXPECT_EQ(fileBytes(path).find(oldToken.substr(16)), std::string::npos);
}

TEST_F(BackendStoreTest, RegistrationsPerAddressAndHour)
{
    BackendStore store(path, clock);
    const auto registerFrom = [&](const char* address) {
        return store.registerDevice("DEVICE-A", address, 2).has_value();
    };
    EXPECT_EQ(std::vector({registerFrom("10.0.0.1"), registerFrom("10.0.0.1"),
                           registerFrom("10.0.0.1"), registerFrom("10.0.0.2")}),
              std::vector({true, true, false, true}));
    now += 59min;
    EXPECT_FALSE(registerFrom("10.0.0.1"));
    now += 1min;
    EXPECT_TRUE(registerFrom("10.0.0.1"));
}

TEST_F(BackendStoreTest, InviteLimitsCountPerSenderRecipientAndUtcDay)
{
    BackendStore store(path, clock);
    const auto invite = [&](const char* device, const char* email) {
        return store.queueInvite(device, email, std::nullopt, {2, 3});
    };
    EXPECT_EQ(std::vector({invite("A", "x@example.org"), invite("A", "y@example.org"),
                           invite("A", "z@example.org"), invite("B", "X@Example.org"),
                           invite("C", "x@EXAMPLE.org"), invite("D", "x@example.org")}),
              std::vector({Outcome::queued, Outcome::queued, Outcome::senderLimitReached,
                           Outcome::queued, Outcome::queued, Outcome::recipientLimitReached}));
    now += 59s;
    EXPECT_EQ(invite("A", "w@example.org"), Outcome::senderLimitReached);
    now += 1s;
    EXPECT_EQ(std::vector({invite("A", "x@example.org"), invite("A", "w@example.org"),
                           invite("A", "v@example.org")}),
              std::vector({Outcome::queued, Outcome::queued, Outcome::senderLimitReached}));
    EXPECT_THROW(BackendStore(path / "not-a-dir.sqlite3"), std::exception);
}

} // namespace
