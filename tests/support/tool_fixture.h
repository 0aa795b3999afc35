// A test that runs tdrtool as a script would, in a folder of its own, with waveforms that
// tdrtool synth makes there.
#pragma once

#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace r470::test {

class ToolFixture : public ::testing::Test {
  protected:
    ToolRun Tool(const std::string& args) {
        return RunLine(std::string(TDRTOOL_PATH) + " " + args, dir.Path("err.txt"));
    }
    // The new file's path, quoted for the command line.
    std::string Synth(const std::string& name, const std::string& options) {
        std::string path = dir.Path(name);
        EXPECT_EQ(Tool("synth --out '" + path + "' " + options).exit, 0) << options;
        return "'" + path + "'";
    }
    TempDir dir;
};

} // namespace r470::test
