#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

// The backend's SQLite database: installations with their tokens, onboarding reports and the
// invitation outbox. Tokens are kept only as hashes. Safe to call from every server thread.
class BackendStore
{
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    enum class InviteOutcome
    {
        queued,
        senderLimitReached,
        recipientLimitReached
    };
    // Invitations per UTC day.
    struct InviteLimits
    {
        int perInstallation = 20;
        int perRecipient = 3;
    };
    // A token nobody presented for this long stops working.
    static constexpr std::chrono::days tokenLifetime{90};

    // Opens or creates the database (and its folder), bringing a database of an earlier version
    // up to date; throws std::runtime_error when it cannot.
    explicit BackendStore(const std::filesystem::path& path,
                          Clock clock = &std::chrono::system_clock::now);
    ~BackendStore();
    BackendStore(const BackendStore&) = delete;
    BackendStore& operator=(const BackendStore&) = delete;

    // A new token for the device; its earlier tokens stay valid. None when `address` has already
    // registered hourlyLimit times in the past hour.
    std::optional<std::string> registerDevice(std::string_view device, std::string_view address,
                                              int hourlyLimit);
    std::optional<std::string> deviceForToken(std::string_view token);
    // Keeps the latest report of each installation; a report without a source clears it.
    void recordOnboarding(std::string_view device, const std::optional<std::string>& source);
    // Queues the invitation unless the device, or the recipient address in any letter case, has
    // reached its limit for this UTC day.
    InviteOutcome queueInvite(std::string_view device, std::string_view email,
                              const std::optional<std::string>& fromName, InviteLimits limits);

private:
    // Runs `work` in one write transaction, rolled back when it throws.
    template<typename Work>
    auto inTransaction(Work work);
    void upgradeTokensToHashes();
    void storeToken(std::string_view token, std::string_view device, std::int64_t issuedAt);
    std::int64_t now() const;

    sqlite3* m_db = nullptr;
    Clock m_clock;
    std::mutex m_mutex;
};
