#include <gtest/gtest.h>

#include "BackendStore.h"
#include "TempDirectory.h"

namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::system_clock::time_point;
using Outcome = BackendStore::InviteOutcome;

TEST(BackendStoreTest, TokensLastAcrossRestartsAndNeverMatchEmptyOrUnknown)
{
    TempDirectory directory;
    const auto path = directory.path() / "nested" / "backend.sqlite3";
    std::string token;
    {
        BackendStore store(path);
        token = store.registerDevice("DEVICE-A");
        EXPECT_NE(store.registerDevice("DEVICE-B"), token);
    }
    BackendStore reopened(path);
    EXPECT_EQ(reopened.registerDevice("DEVICE-A"), token);
    EXPECT_EQ(reopened.deviceForToken(token), "DEVICE-A");
    EXPECT_EQ(reopened.deviceForToken(""), std::nullopt);
    EXPECT_EQ(reopened.deviceForToken("DEVICE-A"), std::nullopt);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(BackendStoreTest, InviteLimitCountsPerDeviceAndUtcDay)
{
    TempDirectory directory;
    // 2024-03-01 23:59:00 UTC, a minute before the day turns.
    TimePoint now{std::chrono::seconds(1709337540)};
    BackendStore store(directory.path() / "backend.sqlite3", [&] { return now; });
    const auto invite = [&](const char* device) {
        return store.queueInvite(device, "friend@example.org", std::nullopt, 2);
    };
    EXPECT_EQ(
        std::vector({invite("A"), invite("A"), invite("A"), invite("B")}),
        std::vector({Outcome::queued, Outcome::queued, Outcome::limitReached, Outcome::queued}));
    now += 59s;
    EXPECT_EQ(invite("A"), Outcome::limitReached);
    now += 1s;
    EXPECT_EQ(std::vector({invite("A"), invite("A"), invite("A")}),
              std::vector({Outcome::queued, Outcome::queued, Outcome::limitReached}));
    EXPECT_THROW(BackendStore(directory.path() / "backend.sqlite3" / "not-a-dir.sqlite3"),
                 std::exception);
}

} // namespace
