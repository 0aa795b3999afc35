// A thin owner of one SQLite connection and its prepared statements, so that nothing leaks
// on an early return and every step's failure carries SQLite's own words.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace r470 {

class SqliteDb;

class SqliteStatement {
  public:
    SqliteStatement(SqliteDb& db, const char* sql);
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    // Parameters count from 1, as SQLite's do.
    SqliteStatement& Bind(int i, std::int64_t v);
    SqliteStatement& Bind(int i, double v);
    SqliteStatement& Bind(int i, const std::string& v);
    SqliteStatement& Bind(int i, std::span<const std::uint8_t> blob);
    SqliteStatement& BindNull(int i);
    template <typename T> SqliteStatement& Bind(int i, const std::optional<T>& v) {
        return v ? Bind(i, *v) : BindNull(i);
    }

    // Ready to run again with new values: a batch prepares its statements once.
    SqliteStatement& Reset();

    // True while there is a row; false at the end or on a failure (then Ok() is false).
    bool Step();
    // Runs a statement that returns no rows; true on success.
    bool Run();
    bool Ok() const { return ok_; }

    bool IsNull(int col) const;
    std::int64_t Int(int col) const;
    double Real(int col) const;
    std::string Text(int col) const;
    std::vector<std::uint8_t> Blob(int col) const;

  private:
    SqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = true;
};

class SqliteDb {
  public:
    SqliteDb() = default;
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;
    ~SqliteDb();

    // False with Error() set when the file cannot be opened. Never creates a missing file
    // unless `create`.
    bool Open(const std::string& path, bool readOnly, bool create);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }

    // One or more statements with no result; false with Error() on the first failure.
    bool Exec(const std::string& sql);
    // The first column of the first row of a query returning one integer.
    std::optional<std::int64_t> QueryInt(const std::string& sql);
    std::int64_t LastInsertId() const;
    void SetBusyTimeout(int ms);

    // SQLite's primary result code of the last failure, and its message.
    int ErrorCode() const { return code_; }
    const std::string& Error() const { return error_; }
    void Fail(int code);
    void ClearError() {
        code_ = 0;
        error_.clear();
    }
    sqlite3* Handle() { return db_; }

  private:
    sqlite3* db_ = nullptr;
    int code_ = 0;
    std::string error_;
};

// The constants of SQLite's result codes that the archive tells apart, without its header.
bool IsBusyCode(int code);
bool IsFullCode(int code);
bool IsReadOnlyCode(int code);
bool IsNotDatabaseCode(int code);

} // namespace r470
