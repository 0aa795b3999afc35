#include "archive/sqlite_db.h"

#include <sqlite3.h>

namespace r470 {

SqliteStatement::SqliteStatement(SqliteDb& db, const char* sql) : db_(db) {
    if (!db.Handle()) {
        ok_ = false;
        return;
    }
    int rc = sqlite3_prepare_v2(db.Handle(), sql, -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        db_.Fail(rc);
        ok_ = false;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::Bind(int i, std::int64_t v) {
    if (ok_)
        sqlite3_bind_int64(stmt_, i, v);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int i, double v) {
    if (ok_)
        sqlite3_bind_double(stmt_, i, v);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int i, const std::string& v) {
    if (ok_)
        sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int i, std::span<const std::uint8_t> blob) {
    // A zero-length blob is still a blob, not NULL.
    static const std::uint8_t kNone = 0;
    if (ok_)
        sqlite3_bind_blob(stmt_, i, blob.empty() ? &kNone : blob.data(),
                          static_cast<int>(blob.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int i) {
    if (ok_)
        sqlite3_bind_null(stmt_, i);
    return *this;
}

SqliteStatement& SqliteStatement::Reset() {
    if (!stmt_)
        return *this;
    // The outcome of the last step was told when it was taken.
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    ok_ = true;
    return *this;
}

bool SqliteStatement::Step() {
    if (!ok_)
        return false;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        db_.Fail(rc);
        ok_ = false;
    }
    return false;
}

bool SqliteStatement::Run() {
    Step();
    return ok_;
}

bool SqliteStatement::IsNull(int col) const {
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

std::int64_t SqliteStatement::Int(int col) const {
    return sqlite3_column_int64(stmt_, col);
}

double SqliteStatement::Real(int col) const {
    return sqlite3_column_double(stmt_, col);
}

std::string SqliteStatement::Text(int col) const {
    auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
}

std::vector<std::uint8_t> SqliteStatement::Blob(int col) const {
    auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, col));
    int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::vector<std::uint8_t>(p, p + n) : std::vector<std::uint8_t>();
}

SqliteDb::~SqliteDb() {
    Close();
}

bool SqliteDb::Open(const std::string& path, bool readOnly, bool create) {
    Close();
    ClearError();
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (create && !readOnly)
        flags |= SQLITE_OPEN_CREATE;
    int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        Fail(rc);
        Close();
        return false;
    }
    sqlite3_extended_result_codes(db_, 1);
    return true;
}

void SqliteDb::Close() {
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool SqliteDb::Exec(const std::string& sql) {
    if (!db_)
        return false;
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) {
        Fail(rc);
        return false;
    }
    return true;
}

std::optional<std::int64_t> SqliteDb::QueryInt(const std::string& sql) {
    SqliteStatement q(*this, sql.c_str());
    if (!q.Step())
        return std::nullopt;
    return q.Int(0);
}

std::int64_t SqliteDb::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

void SqliteDb::SetBusyTimeout(int ms) {
    sqlite3_busy_timeout(db_, ms);
}

void SqliteDb::Fail(int code) {
    code_ = code;
    error_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    if (error_.empty() || error_ == "not an error")
        error_ = sqlite3_errstr(code);
}

bool IsBusyCode(int code) {
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

bool IsFullCode(int code) {
    return (code & 0xff) == SQLITE_FULL || code == SQLITE_IOERR_WRITE ||
           code == SQLITE_IOERR_FSYNC || code == SQLITE_IOERR_TRUNCATE;
}

bool IsReadOnlyCode(int code) {
    return (code & 0xff) == SQLITE_READONLY;
}

bool IsNotDatabaseCode(int code) {
    return (code & 0xff) == SQLITE_NOTADB || (code & 0xff) == SQLITE_CORRUPT;
}

} // namespace r470
