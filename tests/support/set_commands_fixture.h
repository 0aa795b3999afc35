// The set commands over a display fixture, with scripted file choosers and test files.
#pragma once

#include "display/set_commands.h"
#include "shell/prompts.h"
#include "support/display_fixture.h"
#include "support/temp_dir.h"
#include "waveform/file_dialog.h"
#include "waveform/synth.h"
#include "waveform/units.h"

#include <array>

namespace r470 {
namespace test_fixtures {

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

} // namespace test_fixtures
} // namespace r470
