#include "archive/archive_schema.h"

#include "archive/waveform_facts.h"

#include <string>

namespace r470 {

namespace {

// Version 1: cables, tests, and the filed bytes in a table of their own so that listing
// never reads them.
const char kVersion1[] = R"(
CREATE TABLE cables (
  id INTEGER PRIMARY KEY,
  site TEXT NOT NULL DEFAULT '',
  cable TEXT NOT NULL,
  cable_type TEXT,
  length_m REAL,
  baseline INTEGER REFERENCES tests(id) DEFERRABLE INITIALLY DEFERRED,
  UNIQUE (site, cable)
);
CREATE TABLE tests (
  id INTEGER PRIMARY KEY,
  cable INTEGER NOT NULL REFERENCES cables(id),
  cable_end TEXT NOT NULL DEFAULT '' CHECK (cable_end IN ('', 'A', 'B')),
  test_date TEXT,
  test_time TEXT,
  filed TEXT NOT NULL,
  technician TEXT NOT NULL DEFAULT '',
  note TEXT NOT NULL DEFAULT '',
  file_name TEXT NOT NULL DEFAULT '',
  sha256 TEXT NOT NULL UNIQUE,
  size INTEGER NOT NULL,
  change_kind INTEGER NOT NULL DEFAULT 0,
  change_ns REAL,
  change_distance REAL,
  change_problem TEXT
);
CREATE INDEX tests_by_cable ON tests (cable, id);
CREATE TABLE waveforms (
  test INTEGER PRIMARY KEY REFERENCES tests(id) ON DELETE CASCADE,
  bytes BLOB NOT NULL
);
)";

// Version 2: the memory number and the count of events, for the browser's list.
const char kVersion2[] = R"(
ALTER TABLE tests ADD COLUMN mem_no INTEGER;
ALTER TABLE tests ADD COLUMN events INTEGER;
)";

bool FillVersion2Columns(SqliteDb& db) {
    SqliteStatement rows(db, "SELECT test, bytes FROM waveforms");
    while (rows.Step()) {
        std::vector<std::uint8_t> bytes = rows.Blob(1);
        WaveformFacts f = ReadWaveformFacts(bytes);
        if (!f.problem.empty())
            continue; // `check` reports it
        SqliteStatement one(db, "UPDATE tests SET mem_no = ?1, events = ?2 WHERE id = ?3");
        if (!one.Bind(1, std::int64_t{f.memNo})
                 .Bind(2, std::int64_t{f.events})
                 .Bind(3, rows.Int(0))
                 .Run())
            return false;
    }
    return rows.Ok();
}

} // namespace

bool MigrateArchive(SqliteDb& db, int from, int to) {
    for (int v = from + 1; v <= to; ++v) {
        bool ok = v == 1   ? db.Exec(kVersion1)
                  : v == 2 ? db.Exec(kVersion2) && FillVersion2Columns(db)
                           : false;
        if (!ok || !db.Exec("PRAGMA user_version = " + std::to_string(v)))
            return false;
    }
    return true;
}

} // namespace r470
