#include "archive/cable_archive.h"

#include "analysis/trace_events.h"
#include "archive/archive_platform.h"
#include "archive/archive_schema.h"
#include "archive/filing_analysis.h"
#include "archive/sha256.h"
#include "common/file_io.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>

namespace r470 {

namespace {

namespace fs = std::filesystem;

const char kColumns[] =
    "SELECT t.id, c.site, c.cable, t.cable_end, t.test_date, t.test_time, t.filed, "
    "t.technician, t.note, t.file_name, t.sha256, t.size, c.baseline IS t.id, t.change_kind, "
    "t.change_ns, t.change_distance, t.change_problem, t.mem_no, t.events ";
// For one test, found by its number or its bytes.
const std::string kRowColumns =
    std::string(kColumns) + "FROM tests t JOIN cables c ON c.id = t.cable ";
// For lists: the cables in order, each one's tests through its index, so that a first page
// never sorts the whole archive.
const std::string kListColumns =
    std::string(kColumns) + "FROM cables c CROSS JOIN tests t ON t.cable = c.id ";
// The waveforms' own date and time first; a test without them by when it was filed.
const char kByDate[] = "coalesce(t.test_date, substr(t.filed, 1, 10))";

ArchiveTest ReadRow(const SqliteStatement& q) {
    ArchiveTest t;
    t.test = q.Int(0);
    t.site = q.Text(1);
    t.cable = q.Text(2);
    t.end = q.Text(3);
    t.date = q.Text(4);
    t.time = q.Text(5);
    t.filed = q.Text(6);
    t.technician = q.Text(7);
    t.note = q.Text(8);
    t.fileName = q.Text(9);
    t.sha256 = q.Text(10);
    t.size = q.Int(11);
    t.baseline = q.Int(12) != 0;
    t.change.kind = static_cast<ChangeResult::Kind>(q.Int(13));
    t.change.timeNs = q.Real(14);
    t.change.distance = q.Real(15);
    t.change.problem = q.Text(16);
    t.memNo = static_cast<int>(q.Int(17));
    t.events = static_cast<int>(q.Int(18));
    return t;
}

std::string NowUtc() {
    using namespace std::chrono;
    auto now = floor<seconds>(system_clock::now());
    auto day = floor<days>(now);
    year_month_day ymd{day};
    hh_mm_ss hms{now - day};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(hms.hours().count()),
                  int(hms.minutes().count()), int(hms.seconds().count()));
    return buf;
}

std::string Trim(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// The first 100 bytes of an SQLite file: its signature and the application id at 68.
enum class Header { Empty, Sqlite, Foreign };
Header ReadHeader(const std::string& path, std::uint32_t& appId, std::string& why) {
    InFile in;
    if (int rc = in.Open(path)) {
        why = "cannot be read (error " + std::to_string(rc) + ")";
        return Header::Foreign;
    }
    std::uint8_t h[100] = {};
    std::size_t got = 0;
    if (in.Read(h, got) != 0) {
        why = "cannot be read";
        return Header::Foreign;
    }
    if (got == 0)
        return Header::Empty;
    if (got < 100 || std::memcmp(h, "SQLite format 3", 16) != 0) {
        why = "it is not an SQLite database";
        return Header::Foreign;
    }
    appId =
        std::uint32_t(h[68]) << 24 | std::uint32_t(h[69]) << 16 | std::uint32_t(h[70]) << 8 | h[71];
    return Header::Sqlite;
}

bool MakeParents(const std::string& path) {
    std::error_code ec;
    fs::path dir = fs::path(path).parent_path();
    return dir.empty() || fs::is_directory(dir, ec) || fs::create_directories(dir, ec);
}

// The write-ahead log, and with it a sync at each checkpoint instead of each commit: a power
// cut may undo the last batches filed but never leaves part of one. A file system that
// cannot hold the log keeps the rollback journal and its full syncs. False on a failure.
bool UseWriteAheadLog(SqliteDb& db) {
    std::string mode;
    {
        SqliteStatement q(db, "PRAGMA journal_mode = WAL");
        if (q.Step())
            mode = q.Text(0);
        if (!q.Ok())
            return false;
    }
    // A batch's pages held in memory until it is committed (16 MiB), not spilled half-way.
    return (mode != "wal" || db.Exec("PRAGMA synchronous = NORMAL")) &&
           db.Exec("PRAGMA cache_size = -16384");
}

} // namespace

std::unique_ptr<CableArchive> CableArchive::Open(const std::string& path, std::string& error,
                                                 const ArchiveOpenOptions& options) {
    std::unique_ptr<CableArchive> a(new CableArchive);
    a->path_ = path;
    const std::string refused = "\"" + path + "\" is not a cable archive of this program: ";
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    bool exists = fs::exists(st);
    bool fresh = !exists;
    if (exists) {
        if (!fs::is_regular_file(st)) {
            error = refused + "it is not a regular file. It was left untouched.";
            return nullptr;
        }
        std::uint32_t appId = 0;
        std::string why;
        Header h = ReadHeader(path, appId, why);
        if (h == Header::Foreign ||
            (h == Header::Sqlite && appId != 0 && appId != std::uint32_t(kArchiveApplicationId))) {
            error = refused + (why.empty() ? "another program's database" : why) +
                    ". It was left untouched.";
            return nullptr;
        }
        fresh = h == Header::Empty;
    } else if (options.readOnly) {
        error = "There is no cable archive at \"" + path + "\".";
        return nullptr;
    } else if (!MakeParents(path)) {
        error = "Cannot make the folder for the cable archive \"" + path + "\".";
        return nullptr;
    }

    a->readOnly_ = options.readOnly || (exists && FileMarkedReadOnly(path));
    if (!a->db_.Open(path, a->readOnly_, !exists)) {
        if (!a->readOnly_ && exists && a->db_.Open(path, true, false)) {
            a->readOnly_ = true;
        } else {
            error = "Cannot open the cable archive \"" + path + "\": " + a->db_.Error();
            return nullptr;
        }
    }
    a->db_.SetBusyTimeout(options.busyMs);

    // Both marks are read before anything is written.
    std::optional<std::int64_t> app = a->db_.QueryInt("PRAGMA application_id");
    std::optional<std::int64_t> version = a->db_.QueryInt("PRAGMA user_version");
    if (!app || !version) {
        error = IsNotDatabaseCode(a->db_.ErrorCode())
                    ? refused + "it is not an SQLite database. It was left untouched."
                    : "Cannot read the cable archive \"" + path + "\": " + a->db_.Error();
        return nullptr;
    }
    if (*app == 0 && !fresh) {
        std::optional<std::int64_t> objects = a->db_.QueryInt("SELECT count(*) FROM sqlite_master");
        if (!objects || *objects > 0) {
            error = refused + "another program's database. It was left untouched.";
            return nullptr;
        }
        fresh = true;
    } else if (*app != 0 && *app != kArchiveApplicationId) {
        error = refused + "another program's database. It was left untouched.";
        return nullptr;
    }
    if (*version > kArchiveSchemaVersion) {
        error = "The cable archive \"" + path +
                "\" was made by a newer version of this program "
                "(schema " +
                std::to_string(*version) + "; this one reads up to " +
                std::to_string(kArchiveSchemaVersion) + "). It was left untouched.";
        return nullptr;
    }
    if (*version < kArchiveSchemaVersion || fresh) {
        if (a->readOnly_) {
            error = "The cable archive \"" + path + "\" is read-only and needs to be " +
                    (fresh ? "created" : "brought up to date") + " first.";
            return nullptr;
        }
        // Pages of three waveforms each: little room left over, and few pages to write.
        if (fresh)
            a->db_.Exec("PRAGMA page_size = 8192");
        if (!UseWriteAheadLog(a->db_) || !a->Begin()) {
            error = a->error_.empty()
                        ? "Cannot set up the cable archive \"" + path + "\": " + a->db_.Error()
                        : a->error_;
            return nullptr;
        }
        // Another program may have set it up meanwhile.
        std::optional<std::int64_t> now = a->db_.QueryInt("PRAGMA user_version");
        bool ok = now &&
                  a->db_.Exec("PRAGMA application_id = " + std::to_string(kArchiveApplicationId)) &&
                  MigrateArchive(a->db_, int(*now), kArchiveSchemaVersion) && a->Commit();
        if (!ok) {
            a->Fail("setting up");
            a->Rollback();
            error = a->error_;
            return nullptr;
        }
    } else if (!a->readOnly_) {
        UseWriteAheadLog(a->db_);
    }
    a->db_.Exec("PRAGMA foreign_keys = ON");
    a->error_.clear();
    return a;
}

bool CableArchive::Fail(const std::string& what) {
    int code = db_.ErrorCode();
    const std::string name = "\"" + path_ + "\"";
    if (IsBusyCode(code)) {
        std::string holder = ArchiveWriterText(path_);
        error_ = "The cable archive " + name + " is busy" +
                 (holder.empty() ? std::string(": another program is changing it")
                                 : ": in use by " + holder) +
                 ". Nothing was changed; try again when it has finished.";
    } else if (IsFullCode(code)) {
        error_ = "The disk holding the cable archive " + name +
                 " is full or the file cannot grow: nothing of this batch was filed.";
    } else if (IsReadOnlyCode(code)) {
        error_ = "The cable archive " + name + " is read-only: it can be read but not changed.";
    } else {
        error_ = "The cable archive " + name + ": " + what + " failed: " + db_.Error();
    }
    return false;
}

bool CableArchive::Writable() {
    if (!readOnly_)
        return true;
    error_ = "The cable archive \"" + path_ + "\" is read-only: it can be read but not changed.";
    return false;
}

bool CableArchive::Begin() {
    error_.clear();
    db_.ClearError();
    // IMMEDIATE takes the write lock at once, so a busy archive waits here, not half-way.
    return db_.Exec("BEGIN IMMEDIATE") || Fail("starting a change");
}

bool CableArchive::Commit() {
    return db_.Exec("COMMIT") || Fail("saving the change");
}

void CableArchive::Rollback() {
    // The failure that led here is the one to tell, not the rollback's.
    int code = db_.ErrorCode();
    db_.Exec("ROLLBACK");
    db_.ClearError();
    if (code)
        db_.Fail(code);
}

bool CableArchive::File(std::span<const FilingRequest> batch, std::vector<FilingOutcome>& out,
                        const std::function<void(std::size_t)>& progress) {
    out.clear();
    if (!Writable() || !Begin())
        return false;
    // Known cables and their baselines' waveforms, each read once per batch; a baseline filed
    // earlier in the batch is taken as it was read, not read back.
    struct Cable {
        std::int64_t row = 0, baseline = 0;
        const TraceData* trace = nullptr; // the baseline's waveform, once known
    };
    std::map<std::pair<std::string, std::string>, Cable> cables;
    std::map<std::int64_t, TraceData> baselines; // read back, by cable row
    // What is filed, in order: read and checked first, then analysed all together, then
    // written. Reserved, so that the waveforms stay where the analyses find them.
    struct ToFile {
        std::size_t request = 0;
        std::string sha;
        WaveformFacts facts;
        Cable* cable = nullptr;
        bool baseline = false;
    };
    std::vector<ToFile> toFile;
    toFile.reserve(batch.size());
    std::map<std::string, std::size_t> inBatch; // the bytes of each, to its place in toFile
    std::vector<FilingOutcome> outcomes(batch.size());
    std::vector<std::size_t> sameAs(batch.size(), batch.size()); // filed earlier in the batch
    auto optText = [](const std::string& s) {
        return s.empty() ? std::nullopt : std::optional<std::string>(s);
    };
    // The fingerprints first, on every core: hashing is a tenth of filing.
    std::vector<std::string> hashes(batch.size());
    ShareAmongThreads(batch.size(), FilingThreads(),
                      [&](std::size_t i) { hashes[i] = Sha256Hex(batch[i].bytes); });
    bool filed = [&] {
        // Each statement prepared once for the whole batch.
        SqliteStatement known(db_, "SELECT id FROM tests WHERE sha256 = ?1");
        SqliteStatement find(db_, "SELECT id, baseline FROM cables WHERE site = ?1 AND cable = ?2");
        SqliteStatement addCable(db_, "INSERT INTO cables (site, cable) VALUES (?1, ?2)");
        for (std::size_t i = 0; i < batch.size(); ++i) {
            const FilingRequest& r = batch[i];
            FilingOutcome& o = outcomes[i];
            std::string sha = std::move(hashes[i]);
            if (auto same = inBatch.find(sha); same != inBatch.end()) {
                o.already = true;
                sameAs[i] = same->second;
                continue;
            }
            if (known.Reset().Bind(1, sha).Step()) {
                o.test = known.Int(0);
                o.already = true;
                continue;
            }
            if (!known.Ok())
                return Fail("looking up a waveform");
            WaveformFacts f = ReadWaveformFacts(r.bytes, false);
            std::string cable = Trim(r.cable.empty() ? f.cable : r.cable);
            if (f.problem.empty() && cable.empty())
                f.problem = "it names no cable ID; give one";
            if (f.problem.empty() && !r.end.empty() && r.end != "A" && r.end != "B")
                f.problem = "the cable end is A, B or none";
            if (!f.problem.empty()) {
                o.problem = f.problem;
                continue;
            }
            std::string site = Trim(r.site);
            auto [it, isNew] = cables.try_emplace({site, cable});
            Cable& c = it->second;
            if (isNew) {
                if (find.Reset().Bind(1, site).Bind(2, cable).Step()) {
                    c.row = find.Int(0);
                    c.baseline = find.IsNull(1) ? 0 : find.Int(1);
                } else if (!find.Ok()) {
                    return Fail("looking up a cable");
                } else if (!addCable.Reset().Bind(1, site).Bind(2, cable).Run()) {
                    return Fail("adding a cable");
                } else {
                    c.row = db_.LastInsertId();
                }
            }
            if (c.baseline && !c.trace) {
                std::optional<std::vector<std::uint8_t>> bytes = Bytes(c.baseline);
                if (!bytes)
                    return Fail("reading the baseline");
                c.trace =
                    &baselines.emplace(c.row, ReadWaveformFacts(*bytes, false).trace).first->second;
            }
            inBatch.emplace(sha, toFile.size());
            ToFile& t = toFile.emplace_back(ToFile{i, std::move(sha), std::move(f), &c, false});
            // The cable's first test is its baseline.
            if (!c.trace) {
                t.baseline = true;
                c.trace = &t.facts.trace;
            }
        }
        return true;
    }();

    std::vector<FilingAnalysis> work(toFile.size());
    for (std::size_t k = 0; filed && k < toFile.size(); ++k) {
        work[k].trace = &toFile[k].facts.trace;
        work[k].baseline = toFile[k].baseline ? nullptr : toFile[k].cable->trace;
    }
    // What needs no analysis is done already.
    const std::size_t skipped = batch.size() - work.size();
    if (filed)
        RunFilingAnalyses(work, FilingThreads(), [&](std::size_t done) {
            if (progress)
                progress(skipped + done);
        });

    filed = filed && [&] {
        SqliteStatement addTest(
            db_, "INSERT INTO tests (cable, cable_end, test_date, test_time, filed, technician, "
                 "note, file_name, sha256, size, change_kind, change_ns, change_distance, "
                 "change_problem, mem_no, events) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
                 "?10, ?11, ?12, ?13, ?14, ?15, ?16)");
        SqliteStatement blob(db_, "INSERT INTO waveforms (test, bytes) VALUES (?1, ?2)");
        SqliteStatement mark(db_, "UPDATE cables SET baseline = ?1 WHERE id = ?2");
        for (std::size_t k = 0; k < toFile.size(); ++k) {
            const ToFile& t = toFile[k];
            const FilingRequest& r = batch[t.request];
            const WaveformFacts& f = t.facts;
            const ChangeResult& change = work[k].change;
            bool changed = change.kind == ChangeResult::Changed;
            addTest.Reset()
                .Bind(1, t.cable->row)
                .Bind(2, r.end)
                .Bind(3, optText(f.date))
                .Bind(4, optText(f.time))
                .Bind(5, NowUtc())
                .Bind(6, r.technician)
                .Bind(7, r.note)
                .Bind(8, r.fileName)
                .Bind(9, t.sha)
                .Bind(10, std::int64_t(r.bytes.size()))
                .Bind(11, std::int64_t{change.kind})
                .Bind(12, changed ? std::optional<double>(change.timeNs) : std::nullopt)
                .Bind(13, changed ? std::optional<double>(change.distance) : std::nullopt)
                .Bind(14, optText(change.problem))
                .Bind(15, std::int64_t{f.memNo})
                .Bind(16, std::int64_t{work[k].events});
            if (!addTest.Run())
                return Fail("filing a test");
            const std::int64_t test = db_.LastInsertId();
            outcomes[t.request].test = test;
            if (!blob.Reset().Bind(1, test).Bind(2, std::span<const std::uint8_t>(r.bytes)).Run())
                return Fail("filing a waveform");
            if (t.baseline && !mark.Reset().Bind(1, test).Bind(2, t.cable->row).Run())
                return Fail("marking the baseline");
        }
        return true;
    }();
    // The statements are finished here, so that nothing holds the transaction open.
    if (!filed || !Commit()) {
        Rollback();
        return false;
    }
    for (std::size_t i = 0; i < batch.size(); ++i)
        if (sameAs[i] < toFile.size())
            outcomes[i].test = outcomes[toFile[sameAs[i]].request].test;
    out = std::move(outcomes);
    if (progress)
        progress(batch.size());
    return true;
}

std::optional<ArchiveTest> CableArchive::Test(std::int64_t test) {
    SqliteStatement q(db_, (kRowColumns + "WHERE t.id = ?1").c_str());
    if (q.Bind(1, test).Step())
        return ReadRow(q);
    return std::nullopt;
}

std::optional<ArchiveTest> CableArchive::FindByBytes(std::span<const std::uint8_t> bytes) {
    SqliteStatement q(db_, (kRowColumns + "WHERE t.sha256 = ?1").c_str());
    if (q.Bind(1, Sha256Hex(bytes)).Step())
        return ReadRow(q);
    return std::nullopt;
}

std::vector<ArchiveTest> CableArchive::List(const ArchiveFilter& filter) {
    std::string sql = kListColumns;
    std::vector<std::string> where;
    std::vector<std::string> values;
    auto add = [&](const std::string& condition, const std::string& value) {
        values.push_back(value);
        where.push_back(condition + std::to_string(values.size()));
    };
    if (filter.bySite || !filter.site.empty())
        add("c.site = ?", filter.site);
    if (!filter.cable.empty())
        add("c.cable = ?", filter.cable);
    if (!filter.since.empty())
        add(std::string(kByDate) + " >= ?", filter.since);
    if (!filter.until.empty())
        add(std::string(kByDate) + " <= ?", filter.until);
    if (!filter.text.empty()) {
        values.push_back("%" + filter.text + "%");
        std::string n = std::to_string(values.size());
        where.push_back("(c.site LIKE ?" + n + " OR c.cable LIKE ?" + n + " OR t.note LIKE ?" + n +
                        ")");
    }
    if (filter.changedOnly)
        where.push_back("t.change_kind = 2");
    for (std::size_t i = 0; i < where.size(); ++i)
        sql += (i ? " AND " : "WHERE ") + where[i];
    sql += std::string(" ORDER BY c.site, c.cable, ") + kByDate + ", t.test_time, t.id";
    if (filter.limit)
        sql += " LIMIT " + std::to_string(filter.limit);
    SqliteStatement q(db_, sql.c_str());
    for (std::size_t i = 0; i < values.size(); ++i)
        q.Bind(int(i + 1), values[i]);
    std::vector<ArchiveTest> tests;
    while (q.Step())
        tests.push_back(ReadRow(q));
    return tests;
}

std::vector<ArchiveCable> CableArchive::Cables() {
    SqliteStatement q(db_, "SELECT site, cable, baseline FROM cables ORDER BY site, cable");
    std::vector<ArchiveCable> cables;
    while (q.Step())
        cables.push_back({q.Text(0), q.Text(1), q.IsNull(2) ? 0 : q.Int(2)});
    return cables;
}

std::optional<std::vector<std::uint8_t>> CableArchive::Bytes(std::int64_t test) {
    SqliteStatement q(db_, "SELECT bytes FROM waveforms WHERE test = ?1");
    if (q.Bind(1, test).Step())
        return q.Blob(0);
    return std::nullopt;
}

std::optional<ArchiveTest> CableArchive::Baseline(const std::string& site,
                                                  const std::string& cable) {
    SqliteStatement q(
        db_, (kRowColumns + "WHERE c.site = ?1 AND c.cable = ?2 AND t.id = c.baseline").c_str());
    if (q.Bind(1, site).Bind(2, cable).Step())
        return ReadRow(q);
    return std::nullopt;
}

std::optional<ArchiveTest> CableArchive::Latest(const std::string& site, const std::string& cable) {
    SqliteStatement q(db_, (kRowColumns + "WHERE c.site = ?1 AND c.cable = ?2 " + "ORDER BY " +
                            kByDate + " DESC, t.test_time DESC, t.id DESC LIMIT 1")
                               .c_str());
    if (q.Bind(1, site).Bind(2, cable).Step())
        return ReadRow(q);
    return std::nullopt;
}

bool CableArchive::CompareCable(std::int64_t cableRow, std::int64_t baseline) {
    std::optional<std::vector<std::uint8_t>> baseBytes = Bytes(baseline);
    if (!baseBytes)
        return Fail("reading the baseline");
    TraceData base = ReadWaveformFacts(*baseBytes, false).trace;
    SqliteStatement q(db_, "SELECT t.id, w.bytes FROM tests t JOIN waveforms w ON w.test = t.id "
                           "WHERE t.cable = ?1");
    q.Bind(1, cableRow);
    while (q.Step()) {
        std::int64_t test = q.Int(0);
        ChangeResult c;
        if (test != baseline) {
            WaveformFacts f = ReadWaveformFacts(q.Blob(1), false);
            c = f.problem.empty() ? ChangeSinceBaseline(f.trace, base)
                                  : ChangeResult{ChangeResult::CannotCompare, 0, 0, f.problem};
        }
        bool changed = c.kind == ChangeResult::Changed;
        SqliteStatement put(db_, "UPDATE tests SET change_kind = ?1, change_ns = ?2, "
                                 "change_distance = ?3, change_problem = ?4 WHERE id = ?5");
        put.Bind(1, std::int64_t{c.kind})
            .Bind(2, changed ? std::optional<double>(c.timeNs) : std::nullopt)
            .Bind(3, changed ? std::optional<double>(c.distance) : std::nullopt)
            .Bind(4, c.problem.empty() ? std::nullopt : std::optional<std::string>(c.problem))
            .Bind(5, test);
        if (!put.Run())
            return Fail("comparing again");
    }
    return q.Ok() || Fail("comparing again");
}

bool CableArchive::MarkBaseline(std::int64_t test) {
    if (!Writable() || !Begin())
        return false;
    SqliteStatement q(db_, "SELECT cable FROM tests WHERE id = ?1");
    if (!q.Bind(1, test).Step()) {
        if (q.Ok())
            error_ = "There is no test " + std::to_string(test) + " in the archive.";
        else
            Fail("finding the test");
        Rollback();
        return false;
    }
    std::int64_t cableRow = q.Int(0);
    SqliteStatement mark(db_, "UPDATE cables SET baseline = ?1 WHERE id = ?2");
    if (!mark.Bind(1, test).Bind(2, cableRow).Run() || !CompareCable(cableRow, test) || !Commit()) {
        if (error_.empty())
            Fail("marking the baseline");
        Rollback();
        return false;
    }
    return true;
}

bool CableArchive::Remove(std::int64_t test) {
    if (!Writable() || !Begin())
        return false;
    auto give_up = [&](const std::string& text) {
        if (text.empty())
            Fail("removing the test");
        else
            error_ = text;
        Rollback();
        return false;
    };
    SqliteStatement q(db_, "SELECT t.cable, c.baseline IS t.id, c.cable, "
                           "(SELECT count(*) FROM tests o WHERE o.cable = t.cable) "
                           "FROM tests t JOIN cables c ON c.id = t.cable WHERE t.id = ?1");
    if (!q.Bind(1, test).Step())
        return give_up(q.Ok() ? "There is no test " + std::to_string(test) + " in the archive."
                              : "");
    std::int64_t cableRow = q.Int(0);
    bool isBaseline = q.Int(1) != 0;
    if (isBaseline && q.Int(3) > 1)
        return give_up("Test " + std::to_string(test) + " is the baseline of cable \"" + q.Text(2) +
                       "\", which has other tests: mark another test as its baseline first.");
    SqliteStatement unmark(db_, "UPDATE cables SET baseline = NULL WHERE id = ?1 AND "
                                "baseline = ?2");
    SqliteStatement drop(db_, "DELETE FROM tests WHERE id = ?1");
    SqliteStatement empty(db_, "DELETE FROM cables WHERE id = ?1 AND NOT EXISTS "
                               "(SELECT 1 FROM tests WHERE cable = ?1)");
    if (!unmark.Bind(1, cableRow).Bind(2, test).Run() || !drop.Bind(1, test).Run() ||
        !empty.Bind(1, cableRow).Run() || !Commit())
        return give_up("");
    return true;
}

std::vector<std::string> CableArchive::Check() {
    std::vector<std::string> problems;
    SqliteStatement integrity(db_, "PRAGMA integrity_check");
    while (integrity.Step()) {
        if (integrity.Text(0) != "ok")
            problems.push_back("SQLite: " + integrity.Text(0));
    }
    SqliteStatement keys(db_, "PRAGMA foreign_key_check");
    while (keys.Step())
        problems.push_back("SQLite: a row of " + keys.Text(0) + " points to nothing in " +
                           keys.Text(2));
    SqliteStatement q(db_, "SELECT t.id, t.sha256, w.bytes IS NULL, w.bytes FROM tests t "
                           "LEFT JOIN waveforms w ON w.test = t.id ORDER BY t.id");
    while (q.Step()) {
        std::string test = "test " + std::to_string(q.Int(0));
        if (q.Int(2))
            problems.push_back(test + ": its waveform is missing");
        else if (Sha256Hex(q.Blob(3)) != q.Text(1))
            problems.push_back(test + ": its waveform's SHA-256 does not match");
    }
    if (!integrity.Ok() || !q.Ok())
        problems.push_back("SQLite: " + db_.Error());
    return problems;
}

} // namespace r470
