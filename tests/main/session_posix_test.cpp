#include "main/session.h"
#include "shell/messages.h"
#include "support/scripted_prompts.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace r470 {
namespace {

using namespace test_fixtures;

TEST_F(SessionFixture, FifosInPlaceOfItsFilesDoNotStopTheStart) {
    for (const char* name : {"r470.SET", "R470.INI", "MESSAGE.TXT"})
        ASSERT_EQ(::mkfifo(dir.Path(name).c_str(), 0666), 0) << name;
    Placement p = StartSession(session, design, {1280, 1024}); // would wait for a writer
    EXPECT_EQ(p, design);
    EXPECT_EQ(session.settings, SettingsRecord{});
    EXPECT_FALSE(session.messageFileFound);
    // The close does not replace the FIFO either; it fails silently.
    ASSERT_TRUE(CloseSession(session, {{10, 20, 700, 500}, false}, prompts));
    EXPECT_TRUE(std::filesystem::is_fifo(session.paths.settingsFile));
}

} // namespace
} // namespace r470
