// The archive under faults: files that are not ours, a newer schema, a read-only file, a
// filing killed half-way, two programs filing at once, a full disk and a busy archive.
#include "archive/archive_schema.h"
#include "archive/cable_archive.h"
#include "support/archive_fixture.h"
#include "support/in_child.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace r470 {
namespace {

using test::CableTrace;
using test::Filing;

class ArchiveFaults : public test::ArchiveFixture {
  protected:
    std::vector<FilingRequest> Batch(unsigned firstSeed, int count) {
        std::vector<FilingRequest> b;
        for (int i = 0; i < count; ++i)
            b.push_back(Filing(CableTrace(firstSeed + i)));
        return b;
    }
    std::size_t Tests() { return OpenDb()->List({}).size(); }
};

TEST_F(ArchiveFaults, AFileNotOursIsRefusedAndLeftUntouched) {
    auto sqliteFile = [&](const std::string& sql) {
        SqliteDb raw;
        EXPECT_TRUE(raw.Open(db, false, true));
        EXPECT_TRUE(raw.Exec(sql));
    };
    struct Row {
        const char* name;
        std::function<void()> make;
    };
    const Row rows[] = {
        {"a waveform", [&] { test::WriteBytes(db, test::FileBytes(CableTrace(1))); }},
        {"random bytes", [&] { test::WriteBytes(db, std::vector<std::uint8_t>(5000, 0x5a)); }},
        {"another program's database",
         [&] { sqliteFile("CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('x')"); }},
        {"another application id",
         [&] {
             sqliteFile("PRAGMA application_id = 1234; "
                        "CREATE TABLE t (x)");
         }},
    };
    for (const Row& r : rows) {
        std::filesystem::remove(db);
        r.make();
        std::vector<std::uint8_t> before = test::ReadBytes(db);
        std::string error;
        EXPECT_FALSE(CableArchive::Open(db, error)) << r.name;
        EXPECT_NE(error.find("not a cable archive"), std::string::npos) << r.name << ": " << error;
        EXPECT_EQ(test::ReadBytes(db), before) << r.name;
        EXPECT_EQ(dir.Names().size(), 1u) << r.name; // no journal or WAL beside it
    }
}

TEST_F(ArchiveFaults, ANewerSchemaIsRefusedAndLeftUntouched) {
    FileAll(*OpenDb(), {Filing(CableTrace(1))});
    {
        SqliteDb raw;
        ASSERT_TRUE(raw.Open(db, false, false));
        ASSERT_TRUE(raw.Exec("PRAGMA user_version = " + std::to_string(kArchiveSchemaVersion + 1)));
        ASSERT_TRUE(raw.Exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    std::vector<std::uint8_t> before = test::ReadBytes(db);
    std::string error;
    EXPECT_FALSE(CableArchive::Open(db, error));
    EXPECT_NE(error.find("newer version"), std::string::npos) << error;
    EXPECT_EQ(test::ReadBytes(db), before);
}

TEST_F(ArchiveFaults, AReadOnlyArchiveOpensForReadingAndSaysSoWhenAskedToChange) {
    auto n = FileAll(*OpenDb(), {Filing(CableTrace(1))});
    ASSERT_EQ(::chmod(db.c_str(), 0444), 0);
    std::vector<std::uint8_t> before = test::ReadBytes(db);
    auto a = OpenDb();
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->ReadOnly());
    EXPECT_EQ(a->List({}).size(), 1u);
    std::vector<FilingOutcome> out;
    EXPECT_FALSE(a->File(std::vector{Filing(CableTrace(2))}, out));
    EXPECT_NE(a->Error().find("read-only"), std::string::npos) << a->Error();
    EXPECT_FALSE(a->Remove(n[0]));
    EXPECT_NE(a->Error().find("read-only"), std::string::npos) << a->Error();
    a.reset();
    EXPECT_EQ(test::ReadBytes(db), before);
}

TEST_F(ArchiveFaults, AKilledFilingLeavesWholeTestsAndARunAgainCompletesIt) {
    FileAll(*OpenDb(), {Filing(CableTrace(1))});
    auto batch = Batch(10, 6);
    auto died = test::InChild(false, [&] {
        std::string error;
        auto a = CableArchive::Open(db, error);
        std::vector<FilingOutcome> out;
        a->File(batch, out, [](std::size_t done) {
            if (done == 3)
                ::raise(SIGKILL);
        });
        return 0;
    });
    EXPECT_FALSE(died); // killed, not returned
    auto a = OpenDb();
    EXPECT_TRUE(a->Check().empty());
    EXPECT_EQ(a->List({}).size(), 1u);
    FileAll(*a, batch);
    EXPECT_EQ(a->List({}).size(), 7u);
    EXPECT_TRUE(a->Check().empty());
}

TEST_F(ArchiveFaults, TwoProgramsFilingAtOnceBothSucceed) {
    OpenDb();
    auto writer = [&](unsigned seed) {
        return [this, seed] {
            std::string error;
            auto a = CableArchive::Open(db, error);
            if (!a)
                return 1;
            for (int i = 0; i < 15; ++i) {
                std::vector<FilingOutcome> out;
                if (!a->File(Batch(seed + i, 1), out))
                    return 2;
            }
            return 0;
        };
    };
    // Both at once, each in a process of its own.
    pid_t pids[2];
    for (int i = 0; i < 2; ++i) {
        pids[i] = ::fork();
        if (pids[i] == 0)
            ::_exit(writer(100 + 200 * i)());
    }
    for (pid_t pid : pids) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(Tests(), 30u);
}

TEST_F(ArchiveFaults, AFullDiskFilesNothingOfThatBatch) {
    FileAll(*OpenDb(), {Filing(CableTrace(1))});
    auto result = test::InChild(false, [&] {
        std::string error;
        auto a = CableArchive::Open(db, error);
        // No file may grow more than 8 KiB past what the archive's files hold now.
        std::uintmax_t largest = 0;
        for (const char* end : {"", "-wal", "-shm"}) {
            std::error_code ec;
            std::uintmax_t size = std::filesystem::file_size(db + end, ec);
            if (!ec)
                largest = std::max(largest, size);
        }
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{largest + 8192, largest + 8192};
        ::setrlimit(RLIMIT_FSIZE, &lim);
        std::vector<FilingOutcome> out;
        bool ok = a->File(Batch(20, 60), out);
        return ok ? 0 : a->Error().find("full") != std::string::npos ? 1 : 2;
    });
    EXPECT_EQ(result, 1);
    auto a = OpenDb();
    EXPECT_TRUE(a->Check().empty());
    EXPECT_EQ(a->List({}).size(), 1u);
}

TEST_F(ArchiveFaults, ABusyArchiveWaitsThenSaysSo) {
    OpenDb();
    SqliteDb holder;
    ASSERT_TRUE(holder.Open(db, false, false));
    ASSERT_TRUE(holder.Exec("BEGIN IMMEDIATE"));
    auto a = OpenDb({.busyMs = 200});
    std::vector<FilingOutcome> out;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(a->File(Batch(1, 1), out));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_NE(a->Error().find("is busy"), std::string::npos) << a->Error();
    ASSERT_TRUE(holder.Exec("COMMIT"));
    EXPECT_TRUE(a->File(Batch(1, 1), out)) << a->Error();
}

} // namespace
} // namespace r470
