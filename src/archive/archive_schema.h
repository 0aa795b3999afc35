// The archive's tables, the mark that says a file is ours, and the steps from each schema
// version to the next.
#pragma once

#include "archive/sqlite_db.h"

#include <cstdint>

namespace r470 {

// "R470" as PRAGMA application_id.
constexpr std::int32_t kArchiveApplicationId = 0x52343730;
// PRAGMA user_version of the schema this program writes.
constexpr int kArchiveSchemaVersion = 2;

// Brings a database at schema `from` (0: empty) to `to`, inside the caller's transaction.
bool MigrateArchive(SqliteDb& db, int from, int to);

} // namespace r470
