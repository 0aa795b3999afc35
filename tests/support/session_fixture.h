// A session whose files live in a test folder.
#pragma once

#include "main/session.h"
#include "shell/messages.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace r470 {
namespace test_fixtures {

using test::ScriptedPrompts;
using test::TempDir;

struct SessionFixture : ::testing::Test {
    TempDir dir;
    Session session;
    ScriptedPrompts prompts;
    Placement design{kMainDesignRect, false};

    void SetUp() override {
        session.paths = {dir.Path("r470.SET"), dir.Path("R470.INI"), dir.Path()};
    }
    // A loaded slot with edits, saved to a file of the test folder.
    void LoadChanged(int n, const std::string& name) {
        TraceSlot& s = session.set.Slot(n);
        s.Loaded = true;
        s.Changed = true;
        s.Path = dir.Path(name);
        s.FileName = "/TMP/" + name;
        s.data.header.SampleCount = 3;
        session.set.TraceCount++;
    }
};

} // namespace test_fixtures
} // namespace r470
