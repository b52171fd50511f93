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
// invitation outbox. Safe to call from every server thread.
class BackendStore
{
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    enum class InviteOutcome
    {
        queued,
        limitReached
    };

    // Opens or creates the database (and its folder); throws std::runtime_error when it cannot.
    explicit BackendStore(const std::filesystem::path& path,
                          Clock clock = &std::chrono::system_clock::now);
    ~BackendStore();
    BackendStore(const BackendStore&) = delete;
    BackendStore& operator=(const BackendStore&) = delete;

    // The device's token: issued on its first registration, the same one ever after.
    std::string registerDevice(std::string_view device);
    std::optional<std::string> deviceForToken(std::string_view token);
    // Keeps the latest report of each installation; a report without a source clears it.
    void recordOnboarding(std::string_view device, const std::optional<std::string>& source);
    // Queues the invitation unless the device already queued dailyLimit of them this UTC day.
    InviteOutcome queueInvite(std::string_view device, std::string_view email,
                              const std::optional<std::string>& fromName, int dailyLimit);

private:
    std::int64_t now() const;

    sqlite3* m_db = nullptr;
    Clock m_clock;
    std::mutex m_mutex;
};
