#include "display/set_commands.h"
#include "shell/prompts.h"
#include "support/display_fixture.h"
#include "support/set_commands_fixture.h"
#include "support/temp_dir.h"
#include "waveform/file_dialog.h"
#include "waveform/synth.h"
#include "waveform/units.h"

namespace r470 {
namespace {

using namespace test_fixtures;

TEST_F(SetCommandsTest, NamesFromTheFileSystemAreShownInTheDetailsCodePageAndProposedAsTheyAre) {
    std::string utf8 = dir.Path("caf\xC3\xA9.kel"); // "café.kel" as the file system spells it
    std::filesystem::copy_file(dir.Path("B2.KEL"), utf8);
    ASSERT_EQ(commands.LoadFile(utf8), LoadOk);
    const TraceSlot& s = session.set.Slot(1);
    EXPECT_EQ(s.Path, utf8) << "opened and saved by its real name";
    EXPECT_EQ(BaseName(s.FileName), "CAF\xE9.KEL") << "one byte for the e acute, only a-z raised";
    EXPECT_EQ(commands.GetName(1), "CAF\xC3\xA9") << "the button's UTF-8";
    EXPECT_EQ(host.Text("SFilename"), s.FileName);
    chooser.paths = {dir.Path("na\xC3\xAFve")};
    chooser.paths.front() = *chooser.paths.front() + ".kel";
    commands.MenuSaveAs();
    EXPECT_EQ(chooser.proposed.back(), "caf\xC3\xA9.kel") << "the real name, in the dialog's UTF-8";
    EXPECT_EQ(BaseName(s.FileName), "NA\xEFVE.KEL");
    EXPECT_TRUE(std::filesystem::exists(dir.Path("na\xC3\xAFve.kel")));
}

TEST_F(SetCommandsTest, SaveRewritesEveryLoadedFileWithoutAsking) {
    LoadAll(2);
    auto before = test::ReadBytes(dir.Path("B2.KEL"));
    std::filesystem::remove(dir.Path("a1.kel"));
    session.DisplayDiel = 700;
    commands.MenuSave();
    EXPECT_TRUE(prompts.boxes.empty());
    auto after = test::ReadBytes(dir.Path("B2.KEL"));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[83] | after[84] << 8, 700);
    EXPECT_TRUE(std::filesystem::exists(dir.Path("a1.kel"))) << "written to its real name";
    EXPECT_FALSE(std::filesystem::exists(UpperFileName(dir.Path("a1.kel"))));
}

} // namespace
} // namespace r470
