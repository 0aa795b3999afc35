// The window's remembered choices beyond the settings record.
#include "shell/user_options.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(UserOptions, KeptAcrossRunsAndStrangeLinesGiveTheDefaults) {
    test::TempDir dir;
    const std::string file = dir.Path("r470-options.txt");
    EXPECT_EQ(ReadUserOptions(file), UserOptions{});
    ASSERT_EQ(SaveUserOptions(file, {"/data/a=b.sqlite", true}), 0);
    EXPECT_EQ(ReadUserOptions(file), (UserOptions{"/data/a=b.sqlite", true}));
    test::WriteText(file, "archive=C:\\A\\x.sqlite\r\nimport=archive\r\n");
    EXPECT_EQ(ReadUserOptions(file), (UserOptions{"C:\\A\\x.sqlite", true}));
    test::WriteText(file, "colour=red\nnonsense\nimport=printer\n");
    EXPECT_EQ(ReadUserOptions(file), UserOptions{});
    // Kept as written, a line break would make the rest of the path another key.
    EXPECT_EQ(UserOptionsText({"/a\nimport=archive", false}), "archive=\nimport=files\n");
}

} // namespace
} // namespace r470
