// tdrtool archive run as scripts run it: every verb on synthesised waveforms, the change
// against the baseline as "events --reference" gives it, and the user's own archive.
#include "support/temp_dir.h"
#include "support/tool_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace r470 {
namespace {

using Ran = test::ToolRun;

class ArchiveCommand : public test::ToolFixture {
  protected:
    Ran Archive(const std::string& args) { return Tool("archive " + args + " --db '" + db + "'"); }
    // The value of "first_change" in a JSON line, up to its closing brace or "null".
    static std::string FirstChange(const std::string& json) {
        auto at = json.find("\"first_change\":");
        if (at == std::string::npos)
            return "";
        at += 15;
        return json.substr(at, json[at] == 'n' ? 4 : json.find('}', at) - at + 1);
    }
    std::string db = dir.Path("a.sqlite");
};

TEST_F(ArchiveCommand, FiledOnceListedAndComparedAsEventsComparesThem) {
    std::string healthy = Synth("h.kel", "--fault-at 900 --loss 20 --noise 0.5 --seed 1");
    std::string again = Synth("s.kel", "--fault-at 900 --loss 20 --noise 0.5 --seed 2");
    std::string now =
        Synth("n.kel", "--fault-at 900 --loss 20 --noise 0.5 --seed 3 --reflection 400:-0.3");
    Ran add = Archive("add " + healthy + " " + again + " " + now + " --site Depot --end A --json");
    ASSERT_EQ(add.exit, 0) << add.err;
    EXPECT_EQ(add.out, "{\"added\":[1,2,3],\"already\":[]}\n");
    Ran twice = Archive("add " + healthy + " --json");
    EXPECT_EQ(twice.exit, 0);
    EXPECT_EQ(twice.out, "{\"added\":[],\"already\":[1]}\n");

    Ran list = Archive("list --json");
    ASSERT_EQ(list.exit, 0) << list.err;
    for (const char* key :
         {"{\"tests\":[{\"test\":1", "\"site\":\"Depot\"", "\"cable\":\"FEEDER 1\"",
          "\"end\":\"A\"", "\"date\":", "\"time\":", "\"filed\":", "\"baseline\":true",
          "\"baseline\":false", "\"sha256\":", "\"file\":\"h.kel\"", "\"first_change\":null"})
        EXPECT_NE(list.out.find(key), std::string::npos) << key;

    Ran events = Tool("events " + now + " --reference " + healthy + " --json");
    Ran changed = Archive("list --changed --json");
    ASSERT_EQ(std::count(changed.out.begin(), changed.out.end(), '{'), 3) << changed.out;
    EXPECT_EQ(FirstChange(changed.out), FirstChange(events.out));
    EXPECT_NE(FirstChange(events.out), "null");

    Ran compare = Archive("compare 'FEEDER 1' --site Depot --json");
    EXPECT_EQ(compare.out, "{\"cable\":\"FEEDER 1\",\"site\":\"Depot\",\"baseline\":1,\"latest\":3,"
                           "\"first_change\":" +
                               FirstChange(events.out) + "}\n");
    // Marked as the baseline, the changed test makes the others the changed ones.
    EXPECT_EQ(Archive("baseline 3").exit, 0);
    EXPECT_NE(Archive("show 1 --json").out.find("\"baseline\":false,\"first_change\":{"),
              std::string::npos);
}

TEST_F(ArchiveCommand, GetRemoveCheckAndExport) {
    std::string a = Synth("a.kel", "--fault-at 600 --seed 1");
    std::string b = Synth("b.kel", "--fault-at 600 --seed 2");
    ASSERT_EQ(Archive("add " + a + " " + b).exit, 0);
    ASSERT_EQ(Archive("get 2 --out '" + dir.Path("back.kel") + "'").exit, 0);
    EXPECT_EQ(test::ReadBytes(dir.Path("back.kel")), test::ReadBytes(dir.Path("b.kel")));
    Ran keep = Archive("remove 1");
    EXPECT_EQ(keep.exit, 1);
    EXPECT_NE(keep.err.find("mark another test"), std::string::npos) << keep.err;
    EXPECT_EQ(Archive("check").exit, 0);
    ASSERT_EQ(Archive("export '" + dir.Path("out") + "'").exit, 0);
    EXPECT_EQ(test::ReadBytes(dir.Path("out/no site/FEEDER 1/1-a.KEL")),
              test::ReadBytes(dir.Path("a.kel")));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("out/index.csv")));
    EXPECT_EQ(Archive("remove 2").exit, 0);
    EXPECT_EQ(Archive("get 2 --out '" + dir.Path("gone.kel") + "'").exit, 1);
}

TEST_F(ArchiveCommand, ImportFolderFilesEachUnderItsOwnCableAndListsWhatItCannotRead) {
    std::filesystem::create_directories(dir.Path("in/deeper"));
    Synth("in/ONE.KEL", "--cable-id 'CABLE 1' --seed 1");
    Synth("in/deeper/TWO.kel", "--cable-id 'CABLE 2' --seed 2");
    test::WriteText(dir.Path("in/BAD.KEL"), "not a waveform");
    Ran flat = Archive("import-folder '" + dir.Path("in") + "' --json");
    EXPECT_EQ(flat.exit, 1);
    EXPECT_EQ(flat.out, "{\"added\":[1],\"already\":[]}\n");
    EXPECT_NE(flat.err.find("BAD.KEL: File is not a valid waveform file"), std::string::npos)
        << flat.err;
    Ran deep = Archive("import-folder '" + dir.Path("in") + "' --recursive --json");
    EXPECT_EQ(deep.out, "{\"added\":[2],\"already\":[1]}\n");
    EXPECT_NE(Archive("list --cable 'CABLE 2' --json").out.find("\"baseline\":true"),
              std::string::npos);
}

TEST_F(ArchiveCommand, TheUsersOwnArchiveAndRefusedFiles) {
    std::string a = Synth("a.kel", "--seed 1");
    Ran own =
        test::RunLine("XDG_DATA_HOME='" + dir.Path("data") + "' " TDRTOOL_PATH " archive add " + a);
    EXPECT_EQ(own.exit, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.Path("data/r470/archive.sqlite")));
    Ran notOurs = Tool("archive list --db " + a);
    EXPECT_EQ(notOurs.exit, 1);
    EXPECT_NE(notOurs.err.find("not a cable archive"), std::string::npos) << notOurs.err;
    EXPECT_EQ(Archive("list --since 2026-13-01").exit, 2);
    EXPECT_EQ(Archive("frobnicate").exit, 2);
}

} // namespace
} // namespace r470
