// What the save tests share: a changed slot and a writer that fails on cue.
#pragma once

#include "shell/prompts.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "waveform/trace_save.h"

#include <gtest/gtest.h>

namespace r470 {
namespace test_fixtures {

using test::ReadBytes;
using test::ScriptedPrompts;
using test::TempDir;

inline TraceSlot ChangedSlot(std::uint16_t samples = 3) {
    TraceSlot s;
    s.Loaded = true;
    s.Changed = true;
    s.data.header.SampleCount = samples;
    s.data.header.Diel = 600;
    for (std::size_t i = 0; i < samples; ++i)
        s.data.samples[i] = static_cast<std::uint8_t>(i * 7);
    return s;
}

// A writer that fails with the scripted codes, one per attempt, then writes for real.
struct ScriptedWriter {
    std::vector<int> failures;
    int attempts = 0;
    int operator()(const std::string& path, const std::function<int(ByteSink&)>& body) {
        ++attempts;
        if (static_cast<std::size_t>(attempts) <= failures.size())
            return failures[static_cast<std::size_t>(attempts - 1)];
        return WriteFileSafely(path, body);
    }
};

} // namespace test_fixtures
} // namespace r470
