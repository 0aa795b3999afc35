// tdrtool import-capture run as a program on captured transmissions.
#include "instrument/import.h"
#include "support/import_doubles.h"
#include "support/run_tool.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "support/transmission_builder.h"
#include "waveform/comments.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace r470 {
namespace {

using test::ChooseAll;
using test::NoComments;

using test::SentMemory;
using test::TempDir;
using test::Transmission;

using test::ToolRun;

ToolRun Tool(const TempDir& dir, const std::string& args) {
    return test::RunLine("cd '" + dir.Path() + "' && '" TDRTOOL_PATH "' import-capture " + args,
                         dir.Path("stderr.txt"));
}

std::vector<std::uint8_t> Capture() {
    return Transmission({SentMemory{.no = 2, .ext = std::array<std::uint8_t, 3>{'C', 50, 0}},
                         SentMemory{.no = 7, .diel = 250}, SentMemory{.no = 49},
                         SentMemory{.no = 12, .gain = 8, .cursor = 2048}});
}

TEST(ImportCapture, WritesWhatTheWindowsImportWritesWithNoComments) {
    TempDir dir;
    test::WriteBytes(dir.Path("buffer.dat"), Capture());
    ToolRun r = Tool(dir, "buffer.dat --base out/CABLE.KEL");
    EXPECT_EQ(r.exit, 1) << r.err; // the folder does not exist
    EXPECT_EQ(r.err, "Memory location 7 contains invalid data\nError saving out/CABLE02.KEL\n"
                     "Error saving out/CABLE12.KEL\n");

    std::filesystem::create_directory(dir.Path("out"));
    r = Tool(dir, "buffer.dat --base out/CABLE.KEL");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "out/CABLE02.KEL\nout/CABLE12.KEL\n");
    EXPECT_EQ(r.err, "Memory location 7 contains invalid data\n");

    // The window's import over the same bytes.
    ImportState state;
    test::ScriptedPrompts p;
    p.answers = {IdOk};
    ChooseAll chooser;
    NoComments comments;
    std::string base = dir.Path("W.KEL");
    ImportTransmission(Capture(), state, p, chooser, comments,
                       [&](const std::string&) { return base; });
    for (const char* n : {"02", "12"})
        EXPECT_EQ(test::ReadBytes(dir.Path(std::string("out/CABLE") + n + ".KEL")),
                  test::ReadBytes(dir.Path(std::string("W") + n + ".KEL")))
            << n;
}

TEST(ImportCapture, ChosenMemoriesExistingFilesAndExitStatus) {
    TempDir dir;
    test::WriteBytes(dir.Path("buffer.dat"), Capture());
    struct Case {
        const char* what;
        const char* args;
        int exit;
        const char* out;
    };
    const Case cases[] = {
        {"one chosen", "--memories 12", 0, "M12.KEL\n"},
        {"an existing file is skipped", "--memories 12", 1, ""},
        {"unless overwritten", "--memories 12 --overwrite yes", 0, "M12.KEL\n"},
        {"a memory that did not arrive valid", "--memories 2,7", 1, "M02.KEL\n"},
        {"the extension is added", "--memories 2 --overwrite=yes", 0, "M02.KEL\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ToolRun r = Tool(dir, std::string("buffer.dat --base M ") + c.args);
        EXPECT_EQ(r.exit, c.exit) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    ToolRun skipped = Tool(dir, "buffer.dat --base M.KEL --memories 12");
    EXPECT_NE(skipped.err.find("M12.KEL: Overwrite existing file ? skipped"), std::string::npos)
        << skipped.err;

    test::WriteBytes(dir.Path("bad.dat"), Transmission({SentMemory{.no = 3, .diel = 1}}));
    ToolRun bad = Tool(dir, "bad.dat --base M.KEL");
    EXPECT_EQ(bad.exit, 1);
    EXPECT_EQ(bad.err,
              "Memory location 3 contains invalid data\nNo valid memory locations received\n");

    for (const char* usage :
         {"buffer.dat", "--base M.KEL", "buffer.dat --base M --memories 0",
          "buffer.dat --base M --memories 3,x", "buffer.dat --base M --overwrite maybe"})
        EXPECT_EQ(Tool(dir, usage).exit, 2) << usage;
    EXPECT_EQ(Tool(dir, "missing.dat --base M").exit, 1);
}

} // namespace
} // namespace r470
