// The archive's rules, one test each: baselines, the change since them, the same bytes
// filed once, removal, the filters of a list, the migration from the first schema.
#include "archive/archive_export.h"
#include "archive/archive_schema.h"
#include "archive/cable_archive.h"
#include "support/archive_fixture.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

using test::CableTrace;
using test::Filing;

class CableArchiveTest : public test::ArchiveFixture {};

TEST_F(CableArchiveTest, FirstFiledIsTheBaselineAndLaterTestsAreComparedWithIt) {
    auto a = OpenDb();
    auto n =
        FileAll(*a, {Filing(CableTrace(1)), Filing(CableTrace(2)), Filing(CableTrace(3, 400))});
    ASSERT_EQ(n.size(), 3u);
    auto base = a->Test(n[0]), same = a->Test(n[1]), changed = a->Test(n[2]);
    EXPECT_TRUE(base->baseline);
    EXPECT_EQ(base->change.kind, ChangeResult::NotCompared);
    EXPECT_FALSE(same->baseline);
    EXPECT_EQ(same->change.kind, ChangeResult::NoChange);
    ASSERT_EQ(changed->change.kind, ChangeResult::Changed);
    // The new fault at 400 ns of the trace, some 40 m down a cable of PVF 0.66.
    EXPECT_NEAR(changed->change.timeNs, 400, 30);
    EXPECT_GT(changed->change.distance, 30);
    EXPECT_LT(changed->change.distance, 45);
    // Filed in a later batch, the baseline is read back from the archive.
    auto later = FileAll(*a, {Filing(CableTrace(4, 400))});
    EXPECT_EQ(a->Test(later[0])->change.kind, ChangeResult::Changed);
}

TEST_F(CableArchiveTest, TheSameBytesFiledTwiceAreOneTest) {
    auto a = OpenDb();
    std::vector<FilingOutcome> out;
    ASSERT_TRUE(a->File(std::vector{Filing(CableTrace(1)), Filing(CableTrace(1))}, out));
    EXPECT_FALSE(out[0].already);
    EXPECT_TRUE(out[1].already);
    EXPECT_EQ(out[1].test, out[0].test);
    ASSERT_TRUE(a->File(std::vector{Filing(CableTrace(1), "OTHER.KEL")}, out));
    EXPECT_TRUE(out[0].already);
    EXPECT_EQ(a->List({}).size(), 1u);
}

TEST_F(CableArchiveTest, CablesAreASiteAndACableId) {
    auto a = OpenDb();
    FilingRequest north = Filing(CableTrace(1)), south = Filing(CableTrace(2, 400));
    north.site = "North";
    south.site = "South";
    FilingRequest renamed = Filing(CableTrace(3));
    renamed.cable = " SPARE ";
    FilingRequest noId = Filing(CableTrace(4, 0, ""));
    noId.bytes[47] = ' '; // no InstCableId either
    std::vector<FilingOutcome> out;
    ASSERT_TRUE(a->File(std::vector{north, south, renamed, noId}, out));
    // Each is its cable's first test, so each is a baseline.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(a->Test(out[i].test)->baseline) << i;
    EXPECT_EQ(a->Test(out[2].test)->cable, "SPARE");
    EXPECT_EQ(out[3].test, 0);
    EXPECT_NE(out[3].problem, "");
    EXPECT_EQ(a->Cables().size(), 3u);
    EXPECT_EQ(a->Baseline("South", "FEEDER 1")->test, out[1].test);
}

TEST_F(CableArchiveTest, ABatchFilesWhatTheSameWaveformsFiledOneByOneWould) {
    // Two cables of one name at two sites, interleaved: a baseline in the batch, its change,
    // the same bytes again, and a test the batch cannot file.
    auto at = [](FilingRequest r, const std::string& site) { return r.site = site, r; };
    FilingRequest noId = Filing(CableTrace(9, 0, ""));
    noId.bytes[47] = ' ';
    const std::vector<FilingRequest> batch = {
        at(Filing(CableTrace(1)), "North"),      at(Filing(CableTrace(2)), "South"),
        at(Filing(CableTrace(3, 400)), "North"), at(Filing(CableTrace(4)), "South"),
        at(Filing(CableTrace(3, 400)), "North"), noId,
        at(Filing(CableTrace(5, 300)), "South"),
    };
    auto together = OpenDb();
    std::vector<FilingOutcome> inOne;
    ASSERT_TRUE(together->File(batch, inOne)) << together->Error();
    db += ".single";
    auto single = OpenDb();
    for (std::size_t i = 0; i < batch.size(); ++i) {
        std::vector<FilingOutcome> out;
        ASSERT_TRUE(single->File(std::span(&batch[i], 1), out)) << single->Error();
        EXPECT_EQ(out[0].test, inOne[i].test) << i;
        EXPECT_EQ(out[0].already, inOne[i].already) << i;
        EXPECT_EQ(out[0].problem, inOne[i].problem) << i;
    }
    auto a = together->List({}), b = single->List({});
    ASSERT_EQ(a.size(), 5u);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(std::tie(a[i].test, a[i].site, a[i].baseline, a[i].change.kind, a[i].events),
                  std::tie(b[i].test, b[i].site, b[i].baseline, b[i].change.kind, b[i].events));
        EXPECT_EQ(a[i].change.timeNs, b[i].change.timeNs) << a[i].test;
    }
    EXPECT_EQ(together->Test(inOne[6].test)->change.kind, ChangeResult::Changed);
}

TEST_F(CableArchiveTest, MarkingABaselineComparesTheOtherTestsAgain) {
    auto a = OpenDb();
    auto n =
        FileAll(*a, {Filing(CableTrace(1)), Filing(CableTrace(2)), Filing(CableTrace(3, 400))});
    ASSERT_TRUE(a->MarkBaseline(n[2])) << a->Error();
    EXPECT_FALSE(a->Test(n[0])->baseline);
    EXPECT_TRUE(a->Test(n[2])->baseline);
    EXPECT_EQ(a->Test(n[2])->change.kind, ChangeResult::NotCompared);
    EXPECT_EQ(a->Test(n[0])->change.kind, ChangeResult::Changed);
    EXPECT_EQ(a->Test(n[1])->change.kind, ChangeResult::Changed);
    EXPECT_FALSE(a->MarkBaseline(999));
}

TEST_F(CableArchiveTest, RemovalKeepsABaselineWhileItHasOtherTests) {
    auto a = OpenDb();
    auto n = FileAll(*a, {Filing(CableTrace(1)), Filing(CableTrace(2))});
    EXPECT_FALSE(a->Remove(n[0]));
    EXPECT_NE(a->Error().find("mark another test"), std::string::npos) << a->Error();
    EXPECT_TRUE(a->Remove(n[1])) << a->Error();
    EXPECT_FALSE(a->Bytes(n[1]));
    // Alone now, the baseline may go, and its cable with it.
    EXPECT_TRUE(a->Remove(n[0])) << a->Error();
    EXPECT_TRUE(a->Cables().empty());
    EXPECT_FALSE(a->Remove(n[0]));
}

TEST_F(CableArchiveTest, ListFilters) {
    auto a = OpenDb();
    FilingRequest old = Filing(CableTrace(1, 0, "A1", "01/06/2025"));
    FilingRequest other = Filing(CableTrace(2, 0, "B2", "02/06/2025"));
    other.site = "Depot";
    other.note = "after the storm";
    FilingRequest changed = Filing(CableTrace(3, 400, "A1", "09/12/2026"));
    auto n = FileAll(*a, {old, other, changed});
    struct Row {
        const char* name;
        ArchiveFilter filter;
        std::vector<std::int64_t> tests;
    };
    const Row rows[] = {
        {"all", {}, {n[0], n[2], n[1]}}, // by site, then cable, then date
        {"cable", {.cable = "A1"}, {n[0], n[2]}},
        {"site", {.site = "Depot"}, {n[1]}},
        {"no site", {.bySite = true}, {n[0], n[2]}},
        {"since", {.since = "2025-06-02"}, {n[2], n[1]}},
        {"until", {.until = "2025-06-01"}, {n[0]}},
        {"text in a note", {.text = "storm"}, {n[1]}},
        {"changed", {.changedOnly = true}, {n[2]}},
    };
    for (const Row& r : rows) {
        std::vector<std::int64_t> got;
        for (const ArchiveTest& t : a->List(r.filter))
            got.push_back(t.test);
        EXPECT_EQ(got, r.tests) << r.name;
    }
}

TEST_F(CableArchiveTest, LatestByTheWaveformsOwnDates) {
    auto a = OpenDb();
    auto n = FileAll(*a, {Filing(CableTrace(1, 0, "A1", "01/06/2025")),
                          Filing(CableTrace(2, 0, "A1", "09/12/2026")),
                          Filing(CableTrace(3, 0, "A1", "01/07/2025"))});
    EXPECT_EQ(a->Latest("", "A1")->test, n[1]);
}

TEST_F(CableArchiveTest, GetGivesTheFiledBytesExactly) {
    auto a = OpenDb();
    FilingRequest r = Filing(CableTrace(1));
    auto n = FileAll(*a, {r});
    EXPECT_EQ(a->Bytes(n[0]), r.bytes);
    EXPECT_EQ(a->FindByBytes(r.bytes)->test, n[0]);
    r.bytes.back() ^= 1;
    EXPECT_FALSE(a->FindByBytes(r.bytes));
}

TEST_F(CableArchiveTest, CheckFindsAWaveformChangedBehindItsBack) {
    auto n = FileAll(*OpenDb(), {Filing(CableTrace(1)), Filing(CableTrace(2))});
    EXPECT_TRUE(OpenDb()->Check().empty());
    {
        SqliteDb raw;
        ASSERT_TRUE(raw.Open(db, false, false));
        ASSERT_TRUE(raw.Exec("UPDATE waveforms SET bytes = substr(bytes, 1, 200) WHERE test = " +
                             std::to_string(n[1])));
    }
    auto problems = OpenDb()->Check();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("test " + std::to_string(n[1]) + ": its waveform's SHA-256"),
              std::string::npos);
}

TEST_F(CableArchiveTest, MigratesFromTheFirstSchema) {
    std::vector<std::uint8_t> bytes = test::FileBytes(CableTrace(1));
    {
        SqliteDb raw;
        ASSERT_TRUE(raw.Open(db, false, true));
        ASSERT_TRUE(raw.Exec("PRAGMA application_id = " + std::to_string(kArchiveApplicationId)));
        ASSERT_TRUE(MigrateArchive(raw, 0, 1)) << raw.Error();
        ASSERT_TRUE(raw.Exec("INSERT INTO cables (site, cable, baseline) VALUES ('', 'X', 1);"
                             "INSERT INTO tests (cable, filed, sha256, size) VALUES "
                             "(1, '2026-01-01T00:00:00Z', 'old', 1)"));
        SqliteStatement put(raw, "INSERT INTO waveforms (test, bytes) VALUES (1, ?1)");
        ASSERT_TRUE(put.Bind(1, std::span<const std::uint8_t>(bytes)).Run());
    }
    auto a = OpenDb();
    ASSERT_TRUE(a);
    auto t = a->Test(1);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->memNo, 1);
    EXPECT_GT(t->events, 0);
    SqliteDb raw;
    ASSERT_TRUE(raw.Open(db, true, false));
    EXPECT_EQ(raw.QueryInt("PRAGMA user_version"), kArchiveSchemaVersion);
}

TEST_F(CableArchiveTest, ExportWritesEveryTestUnderSiteAndCableWithAnIndex) {
    auto a = OpenDb();
    FilingRequest r = Filing(CableTrace(1), "FEEDER1.KEL");
    FilingRequest odd = Filing(CableTrace(2, 0, "A/B:C"));
    odd.site = "CON";
    auto n = FileAll(*a, {r, odd});
    ExportResult e = ExportArchive(*a, dir.Path("out"));
    EXPECT_TRUE(e.problems.empty());
    EXPECT_EQ(e.written, 2);
    EXPECT_EQ(
        test::ReadBytes(dir.Path("out/no site/FEEDER 1/" + std::to_string(n[0]) + "-FEEDER1.KEL")),
        r.bytes);
    EXPECT_EQ(test::ReadBytes(dir.Path("out/CON_/A_B_C/" + std::to_string(n[1]) + "-T.KEL")),
              odd.bytes);
    auto csv = test::ReadBytes(dir.Path("out/index.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
}

} // namespace
} // namespace r470
