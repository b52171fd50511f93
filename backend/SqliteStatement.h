#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement, finalized on destruction. Errors throw std::runtime_error with
// SQLite's message, so a failed write never passes for a successful one.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, std::string_view text);
    SqliteStatement& bind(int index, std::int64_t number);
    SqliteStatement& bind(int index, const std::optional<std::string>& text);
    // Advances to the next row; false once there is none.
    bool step();
    void run();
    std::string text(int column) const;
    std::int64_t number(int column) const;

    // Runs statements that take no parameters and return no rows.
    static void execute(sqlite3* db, const char* sql);

private:
    void check(int code) const;

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};
