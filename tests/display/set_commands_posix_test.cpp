#include "display/set_commands.h"
#include "shell/prompts.h"
#include "support/display_fixture.h"
#include "support/temp_dir.h"
#include "waveform/file_dialog.h"
#include "waveform/synth.h"
#include "waveform/units.h"

namespace r470 {
namespace {

struct ScriptedChooser : FileChooser, CloseChooser {
    std::deque<std::optional<std::string>> paths;
    std::deque<std::optional<std::array<bool, 4>>> closes;
    std::vector<std::string> proposed;
    int opens = 0;
    std::optional<std::string> ChooseOpen(const std::string&) override {
        ++opens;
        return Next(paths);
    }
    std::optional<std::string> ChooseSave(const std::string&, const std::string& p,
                                          bool complete) override {
        EXPECT_TRUE(complete);
        proposed.push_back(p);
        return Next(paths);
    }
    std::optional<std::array<bool, 4>> ChooseClose(const std::array<std::string, 4>&) override {
        return Next(closes);
    }
    template <class T> static T Next(std::deque<T>& q) {
        if (q.empty())
            throw std::logic_error("unexpected dialog");
        T v = q.front();
        q.pop_front();
        return v;
    }
};

struct SetCommandsTest : test::DisplayFixture {
    test::TempDir dir;
    ScriptedChooser chooser;
    SetCommands commands{session, display, host, prompts};

    void SetUp() override {
        DisplayFixture::SetUp();
        commands.SetChoosers(&chooser, &chooser);
        for (const char* name : {"a1.kel", "B2.KEL", "c3.Kel", "D4.KEL", "E5.KEL"}) {
            SynthOptions o;
            o.samples = 200;
            WriteFileSafely(dir.Path(name),
                            [&](ByteSink& out) { return WriteTrace(out, Synthesize(o)); });
        }
    }
    void LoadAll(int n) {
        const char* names[] = {"a1.kel", "B2.KEL", "c3.Kel", "D4.KEL", "E5.KEL"};
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(commands.LoadFile(dir.Path(names[i])), LoadOk);
    }
};

TEST_F(SetCommandsTest, NamesFromTheFileSystemAreShownInTheProgramsCodePage) {
    std::string utf8 = dir.Path("caf\xC3\xA9.kel"); // "café.kel" as the file system spells it
    std::filesystem::copy_file(dir.Path("B2.KEL"), utf8);
    ASSERT_EQ(commands.LoadFile(utf8), LoadOk);
    const TraceSlot& s = session.set.Slot(1);
    EXPECT_EQ(s.Path, utf8) << "opened and saved by its real name";
    EXPECT_EQ(BaseName(s.FileName), "CAF\xE9.KEL") << "one byte for the e acute, only a-z raised";
    EXPECT_EQ(commands.GetName(1), "CAF\xE9");
    EXPECT_EQ(host.Text("SFilename"), s.FileName);
    chooser.paths = {dir.Path("na\xC3\xAFve")};
    chooser.paths.front() = *chooser.paths.front() + ".kel";
    commands.MenuSaveAs();
    EXPECT_EQ(chooser.proposed.back(), "caf\xE9.kel") << "proposed as shown, not as UTF-8 bytes";
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

} // namespace r470
