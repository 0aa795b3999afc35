// What the archive learns from a waveform's own bytes before filing it: its cable ID, its
// date and time, memory number and events; and the change against a baseline, as
// `tdrtool events --reference` measures it.
#pragma once

#include "waveform/trace_file.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

struct WaveformFacts {
    std::string problem; // why the bytes are not a waveform; empty when they are
    TraceData trace;
    std::string cable; // UTF-8, trimmed; may be empty
    std::string date;  // "YYYY-MM-DD", empty when the waveform gives none
    std::string time;  // "HH:MM[:SS]", empty when none
    int memNo = 0;
    int events = 0;
};

// `countEvents` runs the event analysis for `events`; filing counts them from the
// comparison's own analysis instead, so that each waveform is analysed once.
WaveformFacts ReadWaveformFacts(std::span<const std::uint8_t> bytes, bool countEvents = true);

// A file's whole content, to be filed as it stands: 0, a file error code, or
// kFileTooLarge for more than any waveform can hold.
constexpr int kFileTooLarge = -2;
int ReadFileForFiling(const std::string& path, std::vector<std::uint8_t>& bytes);
// The reason in words for ReadFileForFiling's code.
std::string FilingReadText(int code);

// The notes' CableId, else the header's InstCableId, trimmed; UTF-8.
std::string FiledCableId(const TraceData& trace);
// "08/12/2026" (day first, as the instrument writes it), "08/12/26" or "2026-12-08" as
// "2026-12-08"; empty for anything that is not a real date.
std::string IsoDate(const std::string& text);
// "14:30:00" or "14:30"; empty for anything else.
std::string ClockTime(const std::string& text);

struct ChangeResult {
    enum Kind { NotCompared = 0, NoChange = 1, Changed = 2, CannotCompare = 3 };
    Kind kind = NotCompared;
    double timeNs = 0;   // from the first sample, as events gives "time_ns"
    double distance = 0; // metres from the launch at the waveform's own dielectric
    std::string problem;
};

// `events`, when given, gets the number of the test's own events.
ChangeResult ChangeSinceBaseline(const TraceData& test, const TraceData& baseline,
                                 int* events = nullptr);

// The numbers as `tdrtool events --json` prints them (three decimals at most).
std::string ChangeNumber(double v);

} // namespace r470
