#include "BackendStore.h"

#include <array>
#include <cerrno>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/random.h>

#include "SqliteStatement.h"

namespace {

constexpr int busyTimeoutMs = 5000;
constexpr std::int64_t secondsPerDay = 86400;

constexpr const char* schema = R"sql(
CREATE TABLE IF NOT EXISTS installations(
    device TEXT PRIMARY KEY,
    token TEXT NOT NULL UNIQUE,
    registered_at INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS onboarding(
    device TEXT PRIMARY KEY REFERENCES installations(device),
    source TEXT,
    reported_at INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS invitations(
    id INTEGER PRIMARY KEY,
    device TEXT NOT NULL REFERENCES installations(device),
    email TEXT NOT NULL,
    from_name TEXT,
    queued_at INTEGER NOT NULL,
    sent_at INTEGER);
CREATE INDEX IF NOT EXISTS invitations_by_device ON invitations(device, queued_at);
)sql";

// 256 bits from the kernel's CSPRNG, hex-encoded: tokens must not be guessable.
std::string newToken()
{
    std::array<unsigned char, 32> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (n < 0 && errno != EINTR) {
            throw std::runtime_error("no random bytes for a token");
        }
        filled += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    constexpr std::string_view hex = "0123456789abcdef";
    std::string token;
    for (const unsigned char byte : bytes) {
        token += hex[byte >> 4];
        token += hex[byte & 0x0F];
    }
    return token;
}

} // namespace

BackendStore::BackendStore(const std::filesystem::path& path, Clock clock)
    : m_clock(std::move(clock))
{
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        throw std::runtime_error(message);
    }
    try {
        sqlite3_busy_timeout(m_db, busyTimeoutMs);
        SqliteStatement::execute(m_db, schema);
        // Tokens are credentials: only the owner may read the file.
        std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

BackendStore::~BackendStore()
{
    sqlite3_close(m_db);
}

std::string BackendStore::registerDevice(std::string_view device)
{
    const std::lock_guard lock(m_mutex);
    SqliteStatement(m_db, "INSERT INTO installations(device, token, registered_at) VALUES(?, ?, ?) "
                          "ON CONFLICT(device) DO NOTHING")
        .bind(1, device)
        .bind(2, std::string_view(newToken()))
        .bind(3, now())
        .run();
    SqliteStatement select(m_db, "SELECT token FROM installations WHERE device = ?");
    select.bind(1, device).step();
    return select.text(0);
}

std::optional<std::string> BackendStore::deviceForToken(std::string_view token)
{
    const std::lock_guard lock(m_mutex);
    SqliteStatement select(m_db, "SELECT device FROM installations WHERE token = ?");
    if (token.empty() || !select.bind(1, token).step()) {
        return std::nullopt;
    }
    return select.text(0);
}

void BackendStore::recordOnboarding(std::string_view device,
                                    const std::optional<std::string>& source)
{
    const std::lock_guard lock(m_mutex);
    SqliteStatement(m_db, "INSERT INTO onboarding(device, source, reported_at) VALUES(?, ?, ?) "
                          "ON CONFLICT(device) DO UPDATE SET source = excluded.source, "
                          "reported_at = excluded.reported_at")
        .bind(1, device)
        .bind(2, source)
        .bind(3, now())
        .run();
}

BackendStore::InviteOutcome BackendStore::queueInvite(std::string_view device,
                                                      std::string_view email,
                                                      const std::optional<std::string>& fromName,
                                                      int dailyLimit)
{
    const std::lock_guard lock(m_mutex);
    const std::int64_t at = now();
    SqliteStatement::execute(m_db, "BEGIN IMMEDIATE");
    try {
        SqliteStatement count(
            m_db, "SELECT COUNT(*) FROM invitations WHERE device = ? AND queued_at >= ?");
        count.bind(1, device).bind(2, at - at % secondsPerDay).step();
        const bool full = count.number(0) >= dailyLimit;
        if (!full) {
            SqliteStatement(m_db, "INSERT INTO invitations(device, email, from_name, queued_at) "
                                  "VALUES(?, ?, ?, ?)")
                .bind(1, device)
                .bind(2, email)
                .bind(3, fromName)
                .bind(4, at)
                .run();
        }
        SqliteStatement::execute(m_db, "COMMIT");
        return full ? InviteOutcome::limitReached : InviteOutcome::queued;
    } catch (...) {
        SqliteStatement::execute(m_db, "ROLLBACK");
        throw;
    }
}

std::int64_t BackendStore::now() const
{
    return std::chrono::duration_cast<std::chrono::seconds>(m_clock().time_since_epoch()).count();
}
