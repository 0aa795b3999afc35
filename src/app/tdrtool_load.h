// What several subcommands share: a waveform file loaded as the window's "Add waveform"
// loads it, without a window, and the "NS1,NS2" cursor times they take.
#pragma once

#include "app/tdrtool_cli.h"
#include "display/display.h"
#include "display/recording_canvas.h"
#include "display/set_commands.h"
#include "output/picture_job.h"
#include "shell/console_prompts.h"
#include "waveform/workspace.h"

#include <iostream>
#include <optional>
#include <string>
#include <utility>

namespace tdrtool {

struct WindowlessLoad {
    r470::Workspace session;
    r470::ConsolePrompts prompts{std::cerr};
    r470::DisplayHost host;
    r470::RecordingCanvas canvas;
    r470::Display display{session, canvas, host};
    r470::SetCommands commands{session, display, host, prompts};

    bool Load(const std::string& file) { return commands.LoadFile(file) == r470::LoadOk; }
};

// "NS1,NS2": two times on the trace, from its first sample on and no further than any trace.
inline std::optional<std::pair<double, double>> ParseCursorTimes(const std::string& value) {
    auto comma = value.find(',');
    if (comma == std::string::npos)
        return std::nullopt;
    auto a = ParseNumber<double>(value.substr(0, comma), 0, r470::kMaxCursorNs);
    auto b = ParseNumber<double>(value.substr(comma + 1), 0, r470::kMaxCursorNs);
    if (!a || !b)
        return std::nullopt;
    return std::make_pair(*a, *b);
}

} // namespace tdrtool
