// A simulated instrument with 48 memories, for tests, demonstrations and users without
// hardware: it sends chosen memories as the instrument does when asked to transmit, and
// takes in and checks a transmission from the computer. The byte work is here; the line
// (a pseudo-terminal or a device) is in sim_line.h.
#pragma once

#include "instrument/transfer_format.h"
#include "waveform/trace_file.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

constexpr int kInstrumentMemories = 48;

enum class ExtensionMode { Yes, No, Mixed };

struct InstrumentMemory {
    TraceHeader header; // the fields a record carries, as the instrument holds them
    std::vector<std::uint8_t> samples;
};

class SimulatedInstrument {
  public:
    SimulatedInstrument(); // every memory synthesized
    const InstrumentMemory& Memory(int n) const {
        return memories_.at(static_cast<std::size_t>(n));
    }
    void SetMemory(int n, const InstrumentMemory& m) {
        memories_.at(static_cast<std::size_t>(n)) = m;
    }

    // Takes every waveform file of `dir` whose MemNo is 1 to 48 into that memory; returns
    // the numbers loaded. Files that cannot be read are named in `problems`.
    std::vector<int> LoadFrom(const std::string& dir, std::vector<std::string>& problems);

    // What the instrument sends for `list`: the start block with the length counted from
    // the 'H' inclusive, the records, and no checksum. Mixed gives the first, third, ...
    // record an extension and the others none.
    std::vector<std::uint8_t> EncodeSend(std::span<const int> list, ExtensionMode mode) const;

  private:
    std::array<InstrumentMemory, kInstrumentMemories + 1> memories_{}; // 0 unused
};

InstrumentMemory SynthesizedMemory(int n);

// A transmission from the computer, checked as it arrives.
struct ComputerTransmission {
    enum Status { NeedMore, Ok, Bad } status = NeedMore;
    std::string problem;               // for Bad
    std::size_t total = 0;             // bytes it takes, once the start block is in
    std::vector<MemoryRecord> records; // for Ok
};
ComputerTransmission CheckComputerTransmission(std::span<const std::uint8_t> bytes);

// A received memory as a waveform file: the record's fields, the dielectric and cursor in
// use taken from the instrument's, the tail's date, time and cable ID as its notes.
TraceData MemoryToTrace(const MemoryRecord& r);
// "MEM07.KEL"
std::string MemoryFileName(int memNo);

// "1,3,5-8" into memory numbers 1 to 48; nothing when the text is not such a list.
std::optional<std::vector<int>> ParseMemoryList(const std::string& text);

} // namespace r470
