#include "instrument/slow_step.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace r470 {
namespace {

// Only a step that outlasts the bound is named, once, however long it goes on.
TEST(SlowStepWatchTest, NamesOnlyTheStepsThatTakeLong) {
    struct Step {
        const char* name;
        int ms;
    } steps[] = {{"COM1", 0}, {"COM2", 10}, {"COM7", 400}, {"COM8", 0}};
    std::mutex m;
    std::vector<std::string> said;
    {
        SlowStepWatch watch(std::chrono::milliseconds(100), [&](const std::string& name) {
            std::lock_guard<std::mutex> lock(m);
            said.push_back(name);
        });
        for (const Step& s : steps) {
            watch.Step(s.name);
            std::this_thread::sleep_for(std::chrono::milliseconds(s.ms));
        }
        watch.Step("");
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_EQ(said, std::vector<std::string>{"COM7"});
}

} // namespace
} // namespace r470
