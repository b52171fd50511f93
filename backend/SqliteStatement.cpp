#include "SqliteStatement.h"

#include <sqlite3.h>
#include <stdexcept>

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql)
    : m_db(db)
{
    check(sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text)
{
    check(sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t number)
{
    check(sqlite3_bind_int64(m_statement, index, number));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const std::optional<std::string>& text)
{
    if (text) {
        return bind(index, std::string_view(*text));
    }
    check(sqlite3_bind_null(m_statement, index));
    return *this;
}

bool SqliteStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW) {
        return true;
    }
    check(code == SQLITE_DONE ? SQLITE_OK : code);
    return false;
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

std::string SqliteStatement::text(int column) const
{
    const auto* data = sqlite3_column_text(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return data ? std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size))
                : std::string();
}

std::int64_t SqliteStatement::number(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

void SqliteStatement::execute(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string error = message ? message : "unknown SQLite error";
        sqlite3_free(message);
        throw std::runtime_error(error);
    }
}

void SqliteStatement::check(int code) const
{
    if (code != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(m_db));
    }
}
