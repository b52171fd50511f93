#include "BackendStore.h"

#include <array>
#include <cerrno>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/random.h>

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/sha.h>
}

#include "SqliteStatement.h"

namespace {

constexpr int busyTimeoutMs = 5000;
constexpr std::int64_t secondsPerHour = 3600;
constexpr std::int64_t secondsPerDay = 86400;
// A token is found by its first characters; only the hash of the whole token proves it.
constexpr std::size_t selectorLength = 16;
constexpr std::size_t tokenLength = 64;
// Presenting a token marks it used; once a day is enough to keep it alive.
constexpr std::int64_t usageGranularity = secondsPerDay;

constexpr const char* schema = R"sql(
CREATE TABLE IF NOT EXISTS installations(
    device TEXT PRIMARY KEY,
    registered_at INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS tokens(
    selector TEXT PRIMARY KEY,
    hash TEXT NOT NULL,
    device TEXT NOT NULL REFERENCES installations(device),
    issued_at INTEGER NOT NULL,
    last_used_at INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS registrations(
    address TEXT NOT NULL,
    at INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS registrations_by_address ON registrations(address, at);
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
CREATE INDEX IF NOT EXISTS invitations_by_recipient ON invitations(email COLLATE NOCASE, queued_at);
)sql";

std::string hex(const unsigned char* bytes, std::size_t size)
{
    constexpr std::string_view digits = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

// 256 bits from the kernel's CSPRNG, hex-encoded: tokens must not be guessable.
std::string newToken()
{
    std::array<unsigned char, tokenLength / 2> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (n < 0 && errno != EINTR) {
            throw std::runtime_error("no random bytes for a token");
        }
        filled += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return hex(bytes.data(), bytes.size());
}

std::string sha256(std::string_view text)
{
    const std::unique_ptr<AVSHA, decltype(&av_free)> context(av_sha_alloc(), &av_free);
    if (!context || av_sha_init(context.get(), 256) < 0) {
        throw std::bad_alloc();
    }
    av_sha_update(context.get(), reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    std::array<unsigned char, 32> digest{};
    av_sha_final(context.get(), digest.data());
    return hex(digest.data(), digest.size());
}

// Takes as long for a near miss as for a wild guess.
bool equalInConstantTime(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return difference == 0;
}

std::string_view selectorOf(std::string_view token)
{
    return token.substr(0, selectorLength);
}

bool hasClearTokens(sqlite3* db)
{
    SqliteStatement column(
        db, "SELECT COUNT(*) FROM pragma_table_info('installations') WHERE name = 'token'");
    return column.step() && column.number(0) > 0;
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
        // Deleted rows are overwritten, so a token of an earlier version leaves no trace.
        SqliteStatement::execute(m_db, "PRAGMA secure_delete = ON");
        upgradeTokensToHashes();
        SqliteStatement::execute(m_db, schema);
        // Only the owner may read the file: it knows who registered and whom they invited.
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

template<typename Work>
auto BackendStore::inTransaction(Work work)
{
    SqliteStatement::execute(m_db, "BEGIN IMMEDIATE");
    try {
        auto result = work();
        SqliteStatement::execute(m_db, "COMMIT");
        return result;
    } catch (...) {
        SqliteStatement::execute(m_db, "ROLLBACK");
        throw;
    }
}

// The first version kept each installation's one token in clear beside it. Its tokens stay valid,
// stored as hashes from now on.
void BackendStore::upgradeTokensToHashes()
{
    if (!hasClearTokens(m_db)) {
        return;
    }
    inTransaction([this] {
        SqliteStatement::execute(m_db, schema);
        {
            SqliteStatement old(m_db, "SELECT device, token, registered_at FROM installations");
            while (old.step()) {
                storeToken(old.text(1), old.text(0), old.number(2));
            }
        }
        SqliteStatement::execute(m_db, R"sql(
            CREATE TABLE installations_without_tokens(
                device TEXT PRIMARY KEY,
                registered_at INTEGER NOT NULL);
            INSERT INTO installations_without_tokens SELECT device, registered_at FROM installations;
            DROP TABLE installations;
            ALTER TABLE installations_without_tokens RENAME TO installations;
        )sql");
        return true;
    });
}

void BackendStore::storeToken(std::string_view token, std::string_view device,
                              std::int64_t issuedAt)
{
    SqliteStatement(m_db, "INSERT INTO tokens(selector, hash, device, issued_at, last_used_at) "
                          "VALUES(?, ?, ?, ?, ?)")
        .bind(1, selectorOf(token))
        .bind(2, std::string_view(sha256(token)))
        .bind(3, device)
        .bind(4, issuedAt)
        .bind(5, now())
        .run();
}

std::optional<std::string> BackendStore::registerDevice(std::string_view device,
                                                        std::string_view address, int hourlyLimit)
{
    const std::lock_guard lock(m_mutex);
    const std::int64_t at = now();
    return inTransaction([&]() -> std::optional<std::string> {
        SqliteStatement(m_db, "DELETE FROM registrations WHERE at <= ?")
            .bind(1, at - secondsPerHour)
            .run();
        SqliteStatement count(m_db, "SELECT COUNT(*) FROM registrations WHERE address = ?");
        count.bind(1, address).step();
        if (count.number(0) >= hourlyLimit) {
            return std::nullopt;
        }
        SqliteStatement(m_db, "INSERT INTO registrations(address, at) VALUES(?, ?)")
            .bind(1, address)
            .bind(2, at)
            .run();
        SqliteStatement(m_db, "INSERT INTO installations(device, registered_at) VALUES(?, ?) "
                              "ON CONFLICT(device) DO NOTHING")
            .bind(1, device)
            .bind(2, at)
            .run();
        SqliteStatement(m_db, "DELETE FROM tokens WHERE last_used_at <= ?")
            .bind(1, at - std::chrono::seconds(tokenLifetime).count())
            .run();
        std::string token = newToken();
        storeToken(token, device, at);
        return token;
    });
}

std::optional<std::string> BackendStore::deviceForToken(std::string_view token)
{
    if (token.size() != tokenLength) {
        return std::nullopt;
    }
    const std::lock_guard lock(m_mutex);
    SqliteStatement select(m_db,
                           "SELECT device, hash, last_used_at FROM tokens WHERE selector = ?");
    if (!select.bind(1, selectorOf(token)).step() ||
        !equalInConstantTime(select.text(1), sha256(token))) {
        return std::nullopt;
    }
    const std::int64_t at = now();
    const std::int64_t lastUsed = select.number(2);
    if (at - lastUsed >= std::chrono::seconds(tokenLifetime).count()) {
        return std::nullopt;
    }
    if (at - lastUsed >= usageGranularity) {
        SqliteStatement(m_db, "UPDATE tokens SET last_used_at = ? WHERE selector = ?")
            .bind(1, at)
            .bind(2, selectorOf(token))
            .run();
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
                                                      InviteLimits limits)
{
    const std::lock_guard lock(m_mutex);
    const std::int64_t at = now();
    const std::int64_t dayStart = at - at % secondsPerDay;
    return inTransaction([&] {
        SqliteStatement bySender(
            m_db, "SELECT COUNT(*) FROM invitations WHERE device = ? AND queued_at >= ?");
        bySender.bind(1, device).bind(2, dayStart).step();
        if (bySender.number(0) >= limits.perInstallation) {
            return InviteOutcome::senderLimitReached;
        }
        SqliteStatement byRecipient(m_db, "SELECT COUNT(*) FROM invitations WHERE email = ? "
                                          "COLLATE NOCASE AND queued_at >= ?");
        byRecipient.bind(1, email).bind(2, dayStart).step();
        if (byRecipient.number(0) >= limits.perRecipient) {
            return InviteOutcome::recipientLimitReached;
        }
        SqliteStatement(m_db, "INSERT INTO invitations(device, email, from_name, queued_at) "
                              "VALUES(?, ?, ?, ?)")
            .bind(1, device)
            .bind(2, email)
            .bind(3, fromName)
            .bind(4, at)
            .run();
        return InviteOutcome::queued;
    });
}

std::int64_t BackendStore::now() const
{
    return std::chrono::duration_cast<std::chrono::seconds>(m_clock().time_since_epoch()).count();
}
